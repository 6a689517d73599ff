// Loading a scene object: its OBJ model, its mesh buffers and its textures,
// each step reporting its own failures and going on. Each loader returns the
// files it could not read (none when everything loaded).
#pragma once

#include <string>
#include <vector>

class SceneObject;
class ShaderProgram;

std::vector<std::string> loadModel(const char* objPath, const ShaderProgram& program,
                                   const char* textureUniform, const char* texturePath,
                                   SceneObject& object);

std::vector<std::string> loadModelWithNormalMap(const char* objPath, const ShaderProgram& program,
                                                const char* textureUniform, const char* texturePath,
                                                const char* normalMapUniform,
                                                const char* normalMapPath, SceneObject& object);
