# input/: recording to rec.cfg and playing it back.
island_test(input_rec_cfg_test SOURCES input/rec_cfg_test.cpp LABELS unit)
