# The build-time tools: the shader dialects, and the asset pack the generator
# writes into the run directory, read through the island's own reader and mesh
# code, and written again.
island_test(tools_shader_dialects_test SOURCES tools/shader_dialects_test.cpp LABELS unit NEEDS island_shaders)
target_link_libraries(tools_shader_dialects_test PRIVATE shaderdialects_lib)
target_compile_definitions(tools_shader_dialects_test PRIVATE
  SHADERDIALECTS_TOOL="$<TARGET_FILE:shaderdialects>"
  SHADER_DIALECT_CASES="${CMAKE_CURRENT_SOURCE_DIR}/tools/shader_dialect_cases.txt")
island_test(tools_generated_assets_test SOURCES tools/generated_assets_test.cpp LABELS unit NEEDS island_assets)
target_link_libraries(tools_generated_assets_test PRIVATE assetgen_lib assets_lib)
# The numbers the base shaders share with the program and the generator.
island_test(tools_shader_constants_test SOURCES tools/shader_constants_test.cpp LABELS unit NEEDS island_shaders)
target_link_libraries(tools_shader_constants_test PRIVATE assetgen_lib scene_lib)
