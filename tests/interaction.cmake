# The camera, the keyboard controls, input recording and playback, the
# playback script and the frame loop's own steps.
island_test(camera_test SOURCES interaction/camera_test.cpp LABELS unit)
island_test(key_handlers_test SOURCES interaction/key_handlers_test.cpp LABELS gl NEEDS run_directory)
island_test(rec_cfg_test SOURCES interaction/rec_cfg_test.cpp LABELS unit)
island_test(playback_script_test SOURCES interaction/playback_script_test.cpp LABELS unit)
island_test(frame_loop_test SOURCES interaction/frame_loop_test.cpp LABELS unit)
