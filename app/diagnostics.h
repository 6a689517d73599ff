// What the OpenGL context is, and what goes wrong in it, as console lines.
#pragma once

// Prints the context version, whether it is forward compatible, and whether a
// fixed-function call raises an error in it. Needs a current context.
void printContextInfo();

// Takes one pending OpenGL error, if any, and prints it on standard error.
void reportGLError();

// The message reportGLError prints for an error code ("" for no error).
const char* glErrorMessage(unsigned int error);
