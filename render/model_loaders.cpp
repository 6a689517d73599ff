// The two loaders differ in the mesh build (with or without tangents) and in
// the number of texture slots.
#include "render/model_loaders.h"

#include "assets/obj_reader.h"
#include "render/scene_object.h"

namespace {

void noteUnread(bool read, const char* path, std::vector<std::string>& unread) {
    if (!read) unread.push_back(path);
}

}  // namespace

std::vector<std::string> loadModel(const char* objPath, const ShaderProgram& program,
                                   const char* textureUniform, const char* texturePath,
                                   SceneObject& object) {
    std::vector<std::string> unread;
    noteUnread(readObjFile(objPath, object.mesh.model), objPath, unread);
    object.mesh.buildBuffers(program);
    object.textures.reserveTextures(1);
    noteUnread(object.textures.addTexture(program, textureUniform, texturePath), texturePath,
               unread);
    object.markLoaded();
    return unread;
}

std::vector<std::string> loadModelWithNormalMap(const char* objPath, const ShaderProgram& program,
                                                const char* textureUniform, const char* texturePath,
                                                const char* normalMapUniform,
                                                const char* normalMapPath, SceneObject& object) {
    std::vector<std::string> unread;
    noteUnread(readObjFile(objPath, object.mesh.model), objPath, unread);
    object.mesh.buildBuffersWithTangents(program);
    object.textures.reserveTextures(2);
    noteUnread(object.textures.addTexture(program, textureUniform, texturePath), texturePath,
               unread);
    noteUnread(object.textures.addTexture(program, normalMapUniform, normalMapPath), normalMapPath,
               unread);
    object.markLoaded();
    return unread;
}
