// What the OpenGL context is, as console lines. The GL error report itself
// belongs to the context layer (platform/gl_context.h).
#pragma once

// Prints the context version, whether it is forward compatible, and whether a
// fixed-function call raises an error in it. Needs a current context.
void printContextInfo();
