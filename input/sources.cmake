# Sources of input/ in the core library.
list(APPEND ISLAND_CORE_SOURCES
  input/input_recorder.cpp
  input/input_player.cpp
)
