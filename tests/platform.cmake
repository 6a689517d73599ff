# platform/: TGA reading and data files.
island_test(platform_image_reader_test SOURCES platform/image_reader_test.cpp LABELS unit)
island_test(platform_data_file_test SOURCES platform/data_file_test.cpp LABELS unit)
