# Tests of the coordinate-system gizmo and the capture tool.
island_test(coordinate_gizmo_test SOURCES gizmo/coordinate_gizmo_test.cpp LABELS gl)
target_link_libraries(coordinate_gizmo_test PRIVATE island_gl_test_context)
add_dependencies(coordinate_gizmo_test run_directory)
