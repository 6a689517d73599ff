# Sources of camera/ in the core library.
list(APPEND ISLAND_CORE_SOURCES
  camera/camera.cpp
)
