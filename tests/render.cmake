# Scene objects and whole frames on a real context: a stand-in scene, whose
# features lie where the tests know, and the generated one.
island_test(render_scene_object_test SOURCES render/scene_object_test.cpp LABELS gl NEEDS run_directory)
island_test(render_scene_test SOURCES render/scene_render_test.cpp LABELS gl NEEDS run_directory)
island_test(render_generated_scene_test SOURCES render/generated_scene_test.cpp LABELS gl NEEDS island_assets run_directory)
# The flight's picture through island-capture, against committed frames.
island_test(e2e_flight_capture_test SOURCES e2e/flight_capture_test.cpp LABELS e2e NEEDS island-capture island_assets)
target_compile_definitions(e2e_flight_capture_test PRIVATE
  ISLAND_REFERENCE_PICTURES="${CMAKE_CURRENT_SOURCE_DIR}/e2e/reference"
  ISLAND_SHADER_SETS="${CMAKE_CURRENT_SOURCE_DIR}/e2e/shader_sets")
