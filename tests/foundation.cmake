# Start-up, configuration, diagnostics and shader programs.
island_test(app_config_test SOURCES foundation/app_config_test.cpp LABELS unit)
island_test(diagnostics_test SOURCES foundation/diagnostics_test.cpp LABELS gl)
island_test(diagnostics_core_test SOURCES foundation/diagnostics_test.cpp LABELS gl)
target_compile_definitions(diagnostics_core_test PRIVATE ISLAND_CORE_CONTEXT=1)
island_test(diagnostics_legacy_test SOURCES foundation/diagnostics_test.cpp LABELS gl)
target_compile_definitions(diagnostics_legacy_test PRIVATE ISLAND_LEGACY_CONTEXT=1)
island_test(shader_program_test SOURCES foundation/shader_program_test.cpp LABELS gl)

# End-to-end: the real binary in a scratch directory.
find_package(X11 REQUIRED)
add_library(island_demo_process STATIC e2e/demo_process.cpp)
target_include_directories(island_demo_process PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/e2e)
target_link_libraries(island_demo_process PUBLIC ${X11_LIBRARIES})
target_compile_options(island_demo_process PRIVATE ${ISLAND_WARNINGS})
island_test(startup_e2e_test SOURCES e2e/startup_e2e_test.cpp LABELS e2e)
target_link_libraries(startup_e2e_test PRIVATE island_demo_process)
add_dependencies(startup_e2e_test island)
