// What the meshes and the texture sets need of a shader program: the
// locations of its attributes and uniforms by name. The program itself lives
// in render/, above the assets, and answers through this.
#pragma once

#include "platform/gl.h"

class ProgramLocations {
  public:
    // Asked of OpenGL at every call, never cached; -1 for a name the program
    // does not use.
    virtual GLint getUniformLocation(const char* name) const = 0;
    virtual GLint getAttribLocation(const char* name) const = 0;

  protected:
    // Never deleted through this interface.
    ~ProgramLocations() = default;
};
