# Rendering: render targets, scene objects, frame composition and the shaders,
# all on a real context under Xvfb.
island_test(render_targets_test
  SOURCES render/render_targets_test.cpp
  LABELS gl)
island_test(render_scene_test
  SOURCES render/scene_render_test.cpp render/test_scene.cpp
  LABELS gl)
island_test(render_start_frame_test
  SOURCES render/start_frame_test.cpp
  LABELS gl)
island_test(render_scene_object_test
  SOURCES render/scene_object_test.cpp
  LABELS gl)
