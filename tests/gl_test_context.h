// Opens the program's one window with a real OpenGL context for a GL test
// (under Xvfb in CI). One context per test process; it lives until exit.
#pragma once

struct TestContextRequest {
    int major = 2;
    int minor = 1;
    bool forwardCompatibleCore = false;  // a 3.2+ core forward-compatible context
    int width = 800;
    int height = 600;
};

// Returns false when no window could be opened (no display).
bool openTestContext(const TestContextRequest& request = TestContextRequest());
