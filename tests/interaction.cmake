# Tests of this area: the camera, input recording and playback, the playback
# script, the keyboard controls.
island_test(camera_test SOURCES interaction/camera_test.cpp LABELS unit)
island_test(input_recorder_test SOURCES interaction/input_recorder_test.cpp LABELS unit)
island_test(input_player_test SOURCES interaction/input_player_test.cpp LABELS unit)
island_test(playback_script_test SOURCES interaction/playback_script_test.cpp LABELS unit)
island_test(key_handlers_test SOURCES interaction/key_handlers_test.cpp LABELS unit)
island_test(key_handlers_gl_test SOURCES interaction/key_handlers_gl_test.cpp LABELS gl)
island_test(frame_loop_replay_test SOURCES interaction/frame_loop_replay_test.cpp LABELS unit)
