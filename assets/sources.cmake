# Sources of assets/ in the core library.
list(APPEND ISLAND_CORE_SOURCES
  assets/obj_line_scanner.cpp
  assets/obj_reader.cpp
  assets/mesh.cpp
  assets/texture_set.cpp
  assets/asset_prefetch.cpp
)
