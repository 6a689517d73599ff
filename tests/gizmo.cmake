# Tests of the coordinate-system gizmo and the capture tool.
island_test(coordinate_gizmo_test SOURCES gizmo/coordinate_gizmo_test.cpp LABELS gl)
add_dependencies(coordinate_gizmo_test run_directory)

island_test(capture_options_test SOURCES gizmo/capture_options_test.cpp LABELS unit)
target_link_libraries(capture_options_test PRIVATE island_capture)

# The real tool in a scratch directory laid out like the run directory.
island_test(capture_e2e_test SOURCES gizmo/capture_e2e_test.cpp LABELS e2e)
add_dependencies(capture_e2e_test island-capture)
