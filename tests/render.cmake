# Rendering: render targets, scene objects, frame composition and the shaders,
# all on a real context under Xvfb.
island_test(render_targets_test
  SOURCES render/render_targets_test.cpp gl_test_context.cpp
  LABELS gl)
island_test(render_scene_test
  SOURCES render/scene_render_test.cpp render/test_scene.cpp gl_test_context.cpp
  LABELS gl)
