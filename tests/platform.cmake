# platform/: TGA reading.
island_test(platform_image_reader_test SOURCES platform/image_reader_test.cpp LABELS unit)
