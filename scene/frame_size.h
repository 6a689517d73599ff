// The size the passes draw the window at: its framebuffer's, read every
// frame, so that a resized, maximised or scaled window is filled by the
// picture at its own aspect ratio.
#pragma once

struct Scene;

// Reads the framebuffer size; where it differs from the scene's, the scene's
// size, its projection and its reflection map follow it (the shadow map keeps
// its size). False, with the scene left as it was, when there is nothing to
// draw into: a minimised window's framebuffer is 0 × 0.
bool followFramebufferSize(Scene& scene);
