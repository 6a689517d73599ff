# Sources of frame/ in the core library.
list(APPEND ISLAND_CORE_SOURCES
  frame/frame_composition.cpp
  frame/frame_loop.cpp
  frame/key_handlers.cpp
  frame/playback_script.cpp
)
