# Sources of render/ in the core library.
list(APPEND ISLAND_CORE_SOURCES
  render/shader_program.cpp
  render/scene_object.cpp
  render/model_loaders.cpp
  render/shadow_map.cpp
  render/reflection_map.cpp
  render/render_target_size.cpp
  render/coordinate_gizmo.cpp
)
