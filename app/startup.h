// Start-up up to the context report: the library, config.cfg, the window and
// its context, the GL entry points and the fixed GL state.
#pragma once

// Returns false, after printing why, when the window cannot be opened; the
// caller then ends with status 1.
bool startUp();

// True when the current context is a core profile (no compatibility features).
bool isCoreProfileContext();
