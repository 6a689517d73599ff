// Loading a scene object: its OBJ model, its mesh buffers and its textures,
// each step reporting its own failures and going on. Each loader returns the
// files it could not read (none when everything loaded).
#pragma once

#include <string>
#include <vector>

class AssetPrefetch;
class SceneObject;
class ShaderProgram;

// With `ahead`, the files it has read ahead are taken from it (waiting for
// any not finished yet) and only uploaded here; their messages appear here
// all the same, in the same order. Files it does not hold are read here.
std::vector<std::string> loadModel(const char* objPath, const ShaderProgram& program,
                                   const char* textureUniform, const char* texturePath,
                                   SceneObject& object, AssetPrefetch* ahead = nullptr);

std::vector<std::string> loadModelWithNormalMap(const char* objPath, const ShaderProgram& program,
                                                const char* textureUniform, const char* texturePath,
                                                const char* normalMapUniform,
                                                const char* normalMapPath, SceneObject& object,
                                                AssetPrefetch* ahead = nullptr);
