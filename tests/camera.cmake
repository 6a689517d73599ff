# camera/: the camera's live, recording and playback updates.
island_test(camera_test SOURCES camera/camera_test.cpp LABELS unit)
