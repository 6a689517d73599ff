# render/: the pieces of a shader program, the program and scene objects;
# all but the #version splicing on a real context.
island_test(render_shader_definitions_test SOURCES render/shader_definitions_test.cpp LABELS unit)
island_test(render_active_attributes_test SOURCES render/active_attributes_test.cpp LABELS gl NEEDS run_directory)
island_test(render_uniform_record_test SOURCES render/uniform_record_test.cpp LABELS gl NEEDS run_directory)
island_test(render_per_mode_builds_test SOURCES render/per_mode_builds_test.cpp LABELS gl NEEDS run_directory)
island_test(render_shader_program_test SOURCES render/shader_program_test.cpp LABELS gl NEEDS run_directory)
island_test(render_scene_object_test SOURCES render/scene_object_test.cpp LABELS gl NEEDS run_directory)
