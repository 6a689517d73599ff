# Benchmarks of frame rendering: run under Xvfb from the build directory, e.g.
#   ISLAND_RUN_DIR=$PWD/run xvfb-run -a -s "-screen 0 1280x1024x24" bench/render_frame_bench
# The rows on the real binary preload swap_stamp to see its swaps.
add_library(swap_stamp MODULE render/swap_stamp.c)
target_link_libraries(swap_stamp PRIVATE ${CMAKE_DL_LIBS})
add_executable(render_frame_bench render/frame_bench.cpp render/demo_run.cpp)
target_compile_options(render_frame_bench PRIVATE ${ISLAND_WARNINGS})
target_compile_definitions(render_frame_bench PRIVATE SWAP_STAMP_LIBRARY="$<TARGET_FILE:swap_stamp>")
find_package(X11 REQUIRED)
target_link_libraries(render_frame_bench PRIVATE island_core benchmark::benchmark X11::X11)
add_dependencies(render_frame_bench swap_stamp island)
