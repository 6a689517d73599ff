// What the two off-screen targets share: a texture clamped at its edges, a
// framebuffer checked once for completeness, and drawing into it over its
// whole size.
#pragma once

#include <functional>

#include "platform/gl.h"
#include "render/render_target_size.h"

// A new 2D texture, filtered with `filter` both ways and clamped at its edges
// (GL_CLAMP, or GL_CLAMP_TO_EDGE in a context without the fixed-function
// features). It is left bound on the active unit, for the caller's own
// parameters and storage.
GLuint createClampedTexture(GLint filter);

// A new framebuffer, bound while `attach` attaches its images. An incomplete
// one is reported on standard output and used anyway. Left unbound.
GLuint createFramebuffer(const std::function<void()>& attach);

// Makes `framebuffer` the draw target, with the viewport over all of `size`.
void beginDrawingInto(GLuint framebuffer, TargetSize size);
