// Definitions (#define lines) put into a GLSL source right after its #version
// directive, which must stay the first thing the compiler sees; only comments
// and white space may come before it. String work alone, with no OpenGL.
#pragma once

#include <string>

// `source` with `definitions` after the line of its #version directive, or at
// its start where it has none. The directive's line ends at the first line end
// outside a comment; a source that ends on it gets a line end first.
std::string withDefinitions(const std::string& source, const std::string& definitions);
