# state/: config.cfg reading.
island_test(state_app_config_test SOURCES state/app_config_test.cpp LABELS unit)
