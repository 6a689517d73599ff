# Sources of scene/ in the core library.
list(APPEND ISLAND_CORE_SOURCES
  scene/scene_setup.cpp
  scene/shadow_map_inputs.cpp
  scene/frame_size.cpp
)
