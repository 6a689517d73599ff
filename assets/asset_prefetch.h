// Reading ahead: the models (read, parsed and turned into mesh arrays) and the
// images (read and decoded) a scene will load, on worker threads, while the
// GL thread opens the window and builds the programs. Nothing here touches
// OpenGL or prints: a file that cannot be read is reported by the loader that
// takes it, in the order of the set-up, with the message it always had.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "assets/mesh.h"
#include "platform/image_reader.h"

// A model read ahead: its mesh (ObjModel and face tangents) with the arrays
// of its build, and whether the file could not be read (and with what code).
struct PreparedModel {
    Mesh mesh;
    PreparedMeshArrays arrays;
    bool unreadable = false;
    int errorCode = 0;
    const char* notAFile = nullptr;  // as WholeFile's
};

// What readObjFile and one of the mesh builds would make of `path`, without
// the upload and without the message.
std::unique_ptr<PreparedModel> prepareModel(const char* path, bool withTangents);

class AssetPrefetch {
  public:
    enum class Kind { Model, ModelWithTangents, Image };
    struct File {
        Kind kind;
        std::string path;
    };
    // Starts `threadCount` workers on the files, in the order given: the
    // order in which they will be taken.
    AssetPrefetch(const std::vector<File>& files, int threadCount);
    // Waits for the workers.
    ~AssetPrefetch();
    AssetPrefetch(const AssetPrefetch&) = delete;
    AssetPrefetch& operator=(const AssetPrefetch&) = delete;

    // Wait for the file's result and hand it over; null for a file that was
    // not asked for (or not with that build) or was taken already.
    std::unique_ptr<PreparedModel> takeModel(const std::string& path, bool withTangents);
    std::unique_ptr<platform::ImageRead> takeImage(const std::string& path);

  private:
    struct Job {
        bool isModel = false;
        std::string path;
        bool withTangents = false;
        bool done = false;
        bool taken = false;
        std::unique_ptr<PreparedModel> model;
        std::unique_ptr<platform::ImageRead> image;
    };
    void work();
    Job* waitFor(bool isModel, const std::string& path, bool withTangents);

    std::vector<Job> jobs;
    size_t nextJob = 0;
    std::mutex mutex;
    std::condition_variable finished;
    std::vector<std::thread> workers;
};
