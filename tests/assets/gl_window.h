// A small window with a current OpenGL context for the GL tests of this area:
// a compatibility context by default (what Mesa gives for a 2.1 request), or
// a 3.3 core forward-compatible one, which has no default vertex array object
// and therefore gets one bound here. Writes the test shaders too.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/gl.h"
#include "platform/window.h"
#include "scratch_path.h"

namespace gl_test {

class Window {
public:
    explicit Window(bool coreProfile = false) {
        if (platform::glfwInit() != 1) return;
        if (coreProfile) {
            platform::glfwOpenWindowHint(platform::GLFW_OPENGL_VERSION_MAJOR, 3);
            platform::glfwOpenWindowHint(platform::GLFW_OPENGL_VERSION_MINOR, 3);
            platform::glfwOpenWindowHint(platform::GLFW_OPENGL_FORWARD_COMPAT, 1);
            platform::glfwOpenWindowHint(platform::GLFW_OPENGL_PROFILE,
                                         platform::GLFW_OPENGL_CORE_PROFILE);
        } else {
            platform::glfwOpenWindowHint(platform::GLFW_OPENGL_VERSION_MAJOR, 2);
            platform::glfwOpenWindowHint(platform::GLFW_OPENGL_VERSION_MINOR, 1);
        }
        if (platform::glfwOpenWindow(64, 64, 0, 0, 0, 0, 24, 8, platform::GLFW_WINDOW) != 1) return;
        glewExperimental = GL_TRUE;
        if (glewInit() != GLEW_OK) return;
        while (glGetError() != GL_NO_ERROR) {
        }
        if (coreProfile) {
            glGenVertexArrays(1, &vertexArray);
            glBindVertexArray(vertexArray);
        }
        open = true;
    }
    ~Window() { platform::glfwTerminate(); }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    bool isOpen() const { return open; }

private:
    bool open = false;
    GLuint vertexArray = 0;
};

// Writes basePath.vert and basePath.frag: a program that uses every mesh
// attribute (so none is optimised away) except those left out by name.
inline std::string writeMeshShaders(const std::string& name, bool coreProfile,
                                    bool withTangents = true) {
    const std::string basePath = scratch::path(name);
    const std::string in = coreProfile ? "in " : "attribute ";
    const std::string out = coreProfile ? "out " : "varying ";
    std::string vertex = coreProfile ? "#version 330 core\n" : "#version 120\n";
    vertex += in + "vec3 in_Position;\n" + in + "vec3 in_FlatNormal;\n" + in + "vec3 in_Normal;\n" +
              in + "vec3 in_X;\n" + in + "vec3 in_Y;\n" + in + "vec2 in_TexCoord;\n";
    if (withTangents) vertex += in + "vec3 in_FlatTangent;\n" + in + "vec3 in_Tangent;\n";
    vertex += out + "vec3 colour;\nvoid main() {\n"
              "    vec3 sum = in_FlatNormal + in_Normal + in_X + in_Y + vec3(in_TexCoord, 0.0);\n";
    if (withTangents) vertex += "    sum += in_FlatTangent + in_Tangent;\n";
    vertex += "    colour = vec3(1.0) + 1e-6 * sum;\n"
              "    gl_Position = vec4(in_Position, 1.0);\n}\n";
    std::string fragment = coreProfile ? "#version 330 core\nin vec3 colour;\nout vec4 fragColour;\n"
                                         "void main() { fragColour = vec4(colour, 1.0); }\n"
                                       : "#version 120\nvarying vec3 colour;\n"
                                         "void main() { gl_FragColor = vec4(colour, 1.0); }\n";
    std::ofstream(basePath + ".vert") << vertex;
    std::ofstream(basePath + ".frag") << fragment;
    return basePath;
}

}  // namespace gl_test
