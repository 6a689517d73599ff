// Loading a scene object: its OBJ model, its mesh buffers and its textures,
// each step reporting its own failures and going on.
#pragma once

class SceneObject;
class ShaderProgram;

void loadModel(const char* objPath, const ShaderProgram& program, const char* textureUniform,
               const char* texturePath, SceneObject& object);

void loadModelWithNormalMap(const char* objPath, const ShaderProgram& program,
                            const char* textureUniform, const char* texturePath,
                            const char* normalMapUniform, const char* normalMapPath,
                            SceneObject& object);
