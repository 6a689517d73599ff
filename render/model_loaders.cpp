// The two loaders differ in the mesh build (with or without tangents) and in
// the number of texture slots.
#include "render/model_loaders.h"

#include "assets/obj_reader.h"
#include "render/scene_object.h"

void loadModel(const char* objPath, const ShaderProgram& program, const char* textureUniform,
               const char* texturePath, SceneObject& object) {
    readObjFile(objPath, object.mesh.model);
    object.mesh.buildBuffers(program);
    object.textures.reserveTextures(1);
    object.textures.addTexture(program, textureUniform, texturePath);
    object.markLoaded();
}

void loadModelWithNormalMap(const char* objPath, const ShaderProgram& program,
                            const char* textureUniform, const char* texturePath,
                            const char* normalMapUniform, const char* normalMapPath,
                            SceneObject& object) {
    readObjFile(objPath, object.mesh.model);
    object.mesh.buildBuffersWithTangents(program);
    object.textures.reserveTextures(2);
    object.textures.addTexture(program, textureUniform, texturePath);
    object.textures.addTexture(program, normalMapUniform, normalMapPath);
    object.markLoaded();
}
