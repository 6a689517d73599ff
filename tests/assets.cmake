# Tests of the OBJ reader, mesh construction, TGA reading and texture loading.
island_test(assets_obj_reader_test SOURCES assets/obj_reader_test.cpp LABELS unit)
island_test(assets_mesh_test SOURCES assets/mesh_test.cpp LABELS unit)
