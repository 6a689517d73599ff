// Linking a vertex and a fragment shader into one program. Some drivers draw
// nothing unless attribute array 0 is enabled, so the position, which every
// program has and every draw enables, is bound to location 0 wherever the
// sources leave its place to the linker.
#pragma once

#include "platform/gl.h"
#include "render/active_attributes.h"

// The two shaders linked into a program, with "in_Position" at location 0
// where `positionAtZero` is set and the sources allow it. 0 when it does not
// link, after "Shader linking failed." and the program's log on standard
// output; then any pending OpenGL error.
GLuint linkAndReport(GLuint vertexShader, GLuint fragmentShader, bool positionAtZero);

// The two shaders linked with `locations` bound first; 0, with nothing
// reported, when it does not link or two attributes then share a location.
GLuint linkQuietly(GLuint vertexShader, GLuint fragmentShader, const AttributeLocations& locations);

// linkQuietly in two halves, so that work can be done between the two: the
// link asked for, with nothing asked of the driver about it (a driver that
// links on its own, as a browser's GPU process does, goes on meanwhile) ...
GLuint startLinkQuietly(GLuint vertexShader, GLuint fragmentShader,
                        const AttributeLocations& locations);
// ... and its outcome: `program` itself, or 0 (the program deleted) where
// linkQuietly would have given 0.
GLuint finishLinkQuietly(GLuint program);
