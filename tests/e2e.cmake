# The real program: the binary of the run directory on a private Xvfb, driven
# with the keys it takes from the X server, and the flight's picture through
# island-capture, against committed frames.
island_test(e2e_demo_test SOURCES e2e/demo_e2e_test.cpp LABELS e2e NEEDS island)
island_test(e2e_flight_capture_test SOURCES e2e/flight_capture_test.cpp LABELS e2e NEEDS island-capture island_assets)
target_compile_definitions(e2e_flight_capture_test PRIVATE
  ISLAND_REFERENCE_PICTURES="${CMAKE_CURRENT_SOURCE_DIR}/e2e/reference"
  ISLAND_SHADER_SETS="${CMAKE_CURRENT_SOURCE_DIR}/e2e/shader_sets")
