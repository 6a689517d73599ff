// One frame's three passes: the shadow map from the light, the mirrored scene
// into the reflection map, and the scene into the window.
#pragma once

#include <glm/glm.hpp>

struct Scene;

// The whole frame at the framebuffer's size: the three passes in order, then
// the render targets' textures unbound from units 2 and 3. A minimised
// window (framebuffer 0 × 0) gets no passes at all.
void renderFrame(Scene& scene, const glm::mat4& view);

// The steps of renderFrame, for tests and benchmarks that look at one pass.
void renderShadowPass(Scene& scene);
void renderReflectionPass(Scene& scene, const glm::mat4& view);
void renderMainPass(Scene& scene, const glm::mat4& view);
void finishFrame(Scene& scene);
// Makes the index buffers that let the objects' draws shade each vertex once
// (render/shared_corner_buffers.h), for what earlier draws asked for.
void shareWantedCorners(Scene& scene);
