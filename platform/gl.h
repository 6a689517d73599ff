// The one way OpenGL comes into the program: GLEW's loader, which must be
// included before any other GL header.
#pragma once
#include <GL/glew.h>
