# Start-up, configuration, diagnostics, shader programs, and the real program
# with the keys it takes from the X server.
island_test(app_config_test SOURCES foundation/app_config_test.cpp LABELS unit)
island_test(diagnostics_test SOURCES foundation/diagnostics_test.cpp LABELS gl NEEDS run_directory)
target_compile_definitions(diagnostics_test PRIVATE ISLAND_CORE_CONTEXT=0 ISLAND_LEGACY_CONTEXT=0)
island_test(diagnostics_core_test SOURCES foundation/diagnostics_test.cpp LABELS gl NEEDS run_directory)
target_compile_definitions(diagnostics_core_test PRIVATE ISLAND_CORE_CONTEXT=1 ISLAND_LEGACY_CONTEXT=0)
island_test(diagnostics_legacy_test SOURCES foundation/diagnostics_test.cpp LABELS gl NEEDS run_directory)
target_compile_definitions(diagnostics_legacy_test PRIVATE ISLAND_CORE_CONTEXT=0 ISLAND_LEGACY_CONTEXT=1)
island_test(shader_program_test SOURCES foundation/shader_program_test.cpp LABELS gl NEEDS run_directory)
island_test(demo_e2e_test SOURCES e2e/demo_e2e_test.cpp LABELS e2e NEEDS island)
