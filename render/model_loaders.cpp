// The two loaders differ in the mesh build (with or without tangents) and in
// the number of texture slots.
#include "render/model_loaders.h"

#include "assets/asset_prefetch.h"
#include "assets/obj_reader.h"
#include "render/scene_object.h"

namespace {

// readObjFile, then the mesh build.
void readModelAndBuildMesh(const char* objPath, const ShaderProgram& program, bool withTangents,
                           SceneObject& object, AssetPrefetch* ahead) {
    std::unique_ptr<PreparedModel> prepared =
        ahead != nullptr ? ahead->takeModel(objPath, withTangents) : nullptr;
    if (prepared == nullptr) {
        readObjFile(objPath, object.mesh.model);
        if (withTangents) {
            object.mesh.buildBuffersWithTangents(program);
        } else {
            object.mesh.buildBuffers(program);
        }
        return;
    }
    if (prepared->unreadable) reportUnreadableFile(objPath, prepared->errorCode);
    object.mesh.model = std::move(prepared->mesh.model);
    object.mesh.faceTangents = std::move(prepared->mesh.faceTangents);
    object.mesh.uploadPreparedArrays(program, prepared->arrays);
}

void addTexture(const ShaderProgram& program, const char* uniformName, const char* path,
                SceneObject& object, AssetPrefetch* ahead) {
    std::unique_ptr<platform::ImageRead> read =
        ahead != nullptr ? ahead->takeImage(path) : nullptr;
    if (read == nullptr) {
        object.textures.addTexture(program, uniformName, path);
    } else {
        object.textures.addReadTexture(program, uniformName, *read);
    }
}

}  // namespace

void loadModel(const char* objPath, const ShaderProgram& program, const char* textureUniform,
               const char* texturePath, SceneObject& object, AssetPrefetch* ahead) {
    readModelAndBuildMesh(objPath, program, false, object, ahead);
    object.textures.reserveTextures(1);
    addTexture(program, textureUniform, texturePath, object, ahead);
    object.markLoaded();
}

void loadModelWithNormalMap(const char* objPath, const ShaderProgram& program,
                            const char* textureUniform, const char* texturePath,
                            const char* normalMapUniform, const char* normalMapPath,
                            SceneObject& object, AssetPrefetch* ahead) {
    readModelAndBuildMesh(objPath, program, true, object, ahead);
    object.textures.reserveTextures(2);
    addTexture(program, textureUniform, texturePath, object, ahead);
    addTexture(program, normalMapUniform, normalMapPath, object, ahead);
    object.markLoaded();
}
