// The compiler's or linker's log of a failed shader or program, printed on
// standard output as one text. It is read into a fixed buffer, so reporting
// a failure allocates nothing; a longer log is cut to what fits.
#pragma once

#include "platform/gl.h"

enum class InfoLogOf { Shader, Program };

// Prints the log of `object`, a shader or a program; nothing when it is empty.
void printInfoLog(InfoLogOf kind, GLuint object);
