# Tests of the asset generator and of the pack it writes into the run
# directory (read through the island's own reader, mesh and image code).
island_test(assetgen_det_math_test SOURCES assetgen/det_math_test.cpp LABELS unit)
target_link_libraries(assetgen_det_math_test PRIVATE assetgen_lib)
island_test(assetgen_obj_builder_test SOURCES assetgen/obj_builder_test.cpp LABELS unit)
target_link_libraries(assetgen_obj_builder_test PRIVATE assetgen_lib)
island_test(assetgen_asset_pack_test SOURCES assetgen/asset_pack_test.cpp LABELS unit)
target_link_libraries(assetgen_asset_pack_test PRIVATE assetgen_lib)
island_test(assetgen_generated_models_test SOURCES assetgen/generated_models_test.cpp LABELS unit)
island_test(assetgen_generated_textures_test SOURCES assetgen/generated_textures_test.cpp LABELS unit)
target_link_libraries(assetgen_generated_textures_test PRIVATE assetgen_lib)
# The pack tests read the generated files.
foreach(test assetgen_asset_pack_test assetgen_generated_models_test assetgen_generated_textures_test)
  add_dependencies(${test} island_assets)
endforeach()
