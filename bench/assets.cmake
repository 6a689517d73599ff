# Benchmarks of the OBJ reader (against tinyobjloader, a benchmark-only
# dependency) and of mesh construction. The 210 MB grid model is generated
# into a temporary directory when the benchmark runs and removed afterwards.
find_package(tinyobjloader QUIET)
if(tinyobjloader_FOUND)
  add_executable(assets_bench assets/obj_reader_bench.cpp assets/mesh_bench.cpp)
  target_compile_options(assets_bench PRIVATE ${ISLAND_WARNINGS})
  target_link_libraries(assets_bench PRIVATE island_core tinyobjloader::tinyobjloader
                        benchmark::benchmark benchmark::benchmark_main)
else()
  message(STATUS "tinyobjloader not found: the OBJ reading benchmarks are not built")
endif()
