# Benchmarks of frame rendering: run under Xvfb from the build directory, e.g.
#   ISLAND_RUN_DIR=$PWD/run xvfb-run -a -s "-screen 0 1280x1024x24" bench/render_frame_bench
add_executable(render_frame_bench render/frame_bench.cpp)
target_compile_options(render_frame_bench PRIVATE ${ISLAND_WARNINGS})
find_package(X11 REQUIRED)
target_link_libraries(render_frame_bench PRIVATE island_core benchmark::benchmark X11::X11)
