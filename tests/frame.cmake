# frame/: the frame loop's own steps, the keyboard controls, the playback
# script, and whole frames on a real context: a stand-in scene, whose features
# lie where the tests know, and the generated one.
island_test(frame_loop_test SOURCES frame/frame_loop_test.cpp LABELS unit)
island_test(frame_key_handlers_test SOURCES frame/key_handlers_test.cpp LABELS gl NEEDS run_directory)
island_test(frame_playback_script_test SOURCES frame/playback_script_test.cpp LABELS unit)
island_test(frame_virtual_flight_test SOURCES frame/virtual_flight_test.cpp LABELS unit)
island_test(frame_scene_render_test SOURCES frame/scene_render_test.cpp LABELS gl NEEDS run_directory)
island_test(frame_generated_scene_test SOURCES frame/generated_scene_test.cpp LABELS gl NEEDS island_assets run_directory)
