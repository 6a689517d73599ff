# Sources of platform/ in the core library.
list(APPEND ISLAND_CORE_SOURCES
  platform/window.cpp
  platform/console.cpp
  platform/image_reader.cpp
  platform/data_file.cpp
)
