# render/: shader programs and scene objects on a real context.
island_test(render_shader_program_test SOURCES render/shader_program_test.cpp LABELS gl NEEDS run_directory)
island_test(render_scene_object_test SOURCES render/scene_object_test.cpp LABELS gl NEEDS run_directory)
