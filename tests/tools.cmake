# The build-time tools: the shader dialects.
island_test(tools_shader_dialects_test SOURCES tools/shader_dialects_test.cpp LABELS unit NEEDS island_shaders)
target_link_libraries(tools_shader_dialects_test PRIVATE shaderdialects_lib)
