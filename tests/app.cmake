# app/: start-up's context report and the GL error report, once per kind of
# context, since a process has one window.
island_test(app_diagnostics_test SOURCES app/diagnostics_test.cpp LABELS gl NEEDS run_directory)
target_compile_definitions(app_diagnostics_test PRIVATE ISLAND_CORE_CONTEXT=0 ISLAND_LEGACY_CONTEXT=0)
island_test(app_diagnostics_core_test SOURCES app/diagnostics_test.cpp LABELS gl NEEDS run_directory)
target_compile_definitions(app_diagnostics_core_test PRIVATE ISLAND_CORE_CONTEXT=1 ISLAND_LEGACY_CONTEXT=0)
island_test(app_diagnostics_legacy_test SOURCES app/diagnostics_test.cpp LABELS gl NEEDS run_directory)
target_compile_definitions(app_diagnostics_legacy_test PRIVATE ISLAND_CORE_CONTEXT=0 ISLAND_LEGACY_CONTEXT=1)
