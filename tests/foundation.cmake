# Start-up, configuration, diagnostics and shader programs.
