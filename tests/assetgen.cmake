# The asset pack the generator writes into the run directory, read through the
# island's own reader and mesh code, and written again.
island_test(assetgen_generated_assets_test SOURCES assetgen/generated_assets_test.cpp LABELS unit NEEDS island_assets)
target_link_libraries(assetgen_generated_assets_test PRIVATE assetgen_lib)
