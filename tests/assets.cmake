# assets/: the OBJ reader and its line scanning, mesh construction, and meshes
# uploaded to a real context.
island_test(assets_obj_reader_test SOURCES assets/obj_reader_test.cpp LABELS unit)
island_test(assets_mesh_test SOURCES assets/mesh_test.cpp LABELS unit)
island_test(assets_shared_corner_indices_test SOURCES assets/shared_corner_indices_test.cpp LABELS unit)
island_test(assets_gl_upload_test SOURCES assets/gl_upload_test.cpp LABELS gl NEEDS run_directory)
# The meshes are built for the scene's own base program, which lives above, in render/.
target_link_libraries(assets_gl_upload_test PRIVATE render_lib)
island_test(assets_texture_upload_test SOURCES assets/texture_upload_test.cpp LABELS gl)
