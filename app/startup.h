// Start-up up to the context report: the library, config.cfg, the window and
// its context, the GL entry points and the fixed GL state.
#pragma once

#include <functional>

struct AppConfig;

// Returns false, after printing why, when the window cannot be opened; the
// caller then ends with status 1.
bool startUp();

// The same, with `adjustConfig` applied to the configuration after config.cfg
// is read and before the window opens: a tool that drives the demo (the frame
// capture) overrides settings there without touching config.cfg.
bool startUp(const std::function<void(AppConfig&)>& adjustConfig);
