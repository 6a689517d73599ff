// The two loaders differ in the mesh build (with or without tangents) and in
// the number of texture slots.
#include "render/model_loaders.h"

#include "assets/asset_prefetch.h"
#include "assets/obj_reader.h"
#include "render/scene_object.h"
#include "render/shader_program.h"

namespace {

// readObjFile, then the mesh build; false when the file could not be read.
bool readModelAndBuildMesh(const char* objPath, const ShaderProgram& program, bool withTangents,
                           SceneObject& object, AssetPrefetch* ahead) {
    std::unique_ptr<PreparedModel> prepared =
        ahead != nullptr ? ahead->takeModel(objPath, withTangents) : nullptr;
    if (prepared == nullptr) {
        const bool read = readObjFile(objPath, object.mesh.model);
        if (withTangents) {
            object.mesh.buildBuffersWithTangents(program);
        } else {
            object.mesh.buildBuffers(program);
        }
        return read;
    }
    if (prepared->unreadable) {
        reportUnreadableFile(objPath, prepared->errorCode, prepared->notAFile);
    }
    object.mesh.model = std::move(prepared->mesh.model);
    object.mesh.faceTangents = std::move(prepared->mesh.faceTangents);
    object.mesh.uploadPreparedArrays(program, prepared->arrays);
    return !prepared->unreadable;
}

// addTexture, from the image read ahead where there is one.
bool addTexture(const ShaderProgram& program, const char* uniformName, const char* path,
                SceneObject& object, AssetPrefetch* ahead) {
    std::unique_ptr<platform::ImageRead> read = ahead != nullptr ? ahead->takeImage(path) : nullptr;
    if (read == nullptr) return object.textures.addTexture(program, uniformName, path);
    return object.textures.addReadTexture(program, uniformName, path, *read);
}

void noteUnread(bool read, const char* path, std::vector<std::string>& unread) {
    if (!read) unread.push_back(path);
}

}  // namespace

std::vector<std::string> loadModel(const char* objPath, const ShaderProgram& program,
                                   const char* textureUniform, const char* texturePath,
                                   SceneObject& object, AssetPrefetch* ahead) {
    std::vector<std::string> unread;
    noteUnread(readModelAndBuildMesh(objPath, program, false, object, ahead), objPath, unread);
    object.textures.reserveTextures(1);
    noteUnread(addTexture(program, textureUniform, texturePath, object, ahead), texturePath,
               unread);
    object.markLoaded();
    return unread;
}

std::vector<std::string> loadModelWithNormalMap(const char* objPath, const ShaderProgram& program,
                                                const char* textureUniform, const char* texturePath,
                                                const char* normalMapUniform,
                                                const char* normalMapPath, SceneObject& object,
                                                AssetPrefetch* ahead) {
    std::vector<std::string> unread;
    noteUnread(readModelAndBuildMesh(objPath, program, true, object, ahead), objPath, unread);
    object.textures.reserveTextures(2);
    noteUnread(addTexture(program, textureUniform, texturePath, object, ahead), texturePath,
               unread);
    noteUnread(addTexture(program, normalMapUniform, normalMapPath, object, ahead), normalMapPath,
               unread);
    object.markLoaded();
    return unread;
}
