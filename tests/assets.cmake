# Tests of the OBJ reader, mesh construction, TGA reading and texture loading.
island_test(assets_obj_reader_test SOURCES assets/obj_reader_test.cpp LABELS unit)
island_test(assets_mesh_test SOURCES assets/mesh_test.cpp LABELS unit)
island_test(assets_obj_line_scanner_test SOURCES assets/obj_line_scanner_test.cpp LABELS unit)
island_test(assets_image_reader_test SOURCES assets/image_reader_test.cpp LABELS unit)
island_test(assets_mesh_gl_test SOURCES assets/mesh_gl_test.cpp LABELS gl)
island_test(assets_texture_set_gl_test SOURCES assets/texture_set_gl_test.cpp LABELS gl)
