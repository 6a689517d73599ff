# Rendering: render targets, scene objects, frame composition and the shaders,
# all on a real context under Xvfb.
island_test(render_targets_test
  SOURCES render/render_targets_test.cpp gl_test_context.cpp
  LABELS gl)
island_test(render_scene_test
  SOURCES render/scene_render_test.cpp render/test_scene.cpp gl_test_context.cpp
  LABELS gl)
island_test(render_start_frame_test
  SOURCES render/start_frame_test.cpp gl_test_context.cpp
  LABELS gl)
island_test(render_scene_object_test
  SOURCES render/scene_object_test.cpp gl_test_context.cpp
  LABELS gl)
# The real program on a display that other e2e tests drive with synthetic key
# presses: run alone, so that nobody else's Escape reaches its window.
add_executable(render_e2e_frames_test render/e2e_frames_test.cpp interaction/e2e_session.cpp)
target_compile_options(render_e2e_frames_test PRIVATE ${ISLAND_WARNINGS})
target_include_directories(render_e2e_frames_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(render_e2e_frames_test
  PRIVATE island_core GTest::gtest GTest::gtest_main X11::X11)
add_dependencies(render_e2e_frames_test island)
gtest_discover_tests(render_e2e_frames_test
  WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
  PROPERTIES LABELS e2e RUN_SERIAL TRUE ENVIRONMENT "ISLAND_RUN_DIR=${ISLAND_RUN_DIR}"
  DISCOVERY_TIMEOUT 60)
