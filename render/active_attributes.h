// The attributes a linked program reads and the locations each one takes. A
// location bound before the link may land on one that the sources placed an
// attribute at themselves; the overlap check tells when it did.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/gl.h"

// Attribute names and the locations they are (or are to be) bound to.
using AttributeLocations = std::vector<std::pair<std::string, GLint>>;

// The active attributes of the linked `program`, built-in ones left out.
AttributeLocations attributeLocations(GLuint program);

// A range of attribute locations, [first, end).
using LocationRange = std::pair<GLint, GLint>;

// The locations the active attributes of the linked `program` take, built-in
// ones left out: what a draw with it fetches from the vertex arrays.
std::vector<LocationRange> readLocations(GLuint program);

// True when two active attributes of the linked `program` share a location; a
// matrix or an array takes one location per column or element.
bool attributesOverlap(GLuint program);
