// The workers take the jobs in their order, so the files needed first are
// ready first; the GL thread waits only for a file that is not ready yet.
#include "assets/asset_prefetch.h"

#include "assets/obj_reader.h"
#include "platform/mapped_file.h"

// A file that maps is parsed from its mapping, without a copy in fresh
// memory; one that does not is read, which says why it cannot be.
std::unique_ptr<PreparedModel> prepareModel(const char* path, bool withTangents) {
    auto prepared = std::make_unique<PreparedModel>();
    {
        const platform::MappedFile mapped(path);
        if (mapped.bytes != nullptr) {
            parseObjText(reinterpret_cast<const char*>(mapped.bytes), static_cast<int>(mapped.size),
                         prepared->mesh.model);
        } else {
            WholeFile file = readWholeFileQuietly(path);
            prepared->unreadable = file.failed;
            prepared->errorCode = file.errorCode;
            prepared->notAFile = file.notAFile;
            parseObjText(file.bytes.get(), file.length, prepared->mesh.model);
        }
    }
    prepared->arrays = prepared->mesh.prepareArrays(withTangents);
    return prepared;
}

AssetPrefetch::AssetPrefetch(const std::vector<File>& files, int threadCount) {
    for (const File& file : files) {
        Job job;
        job.isModel = file.kind != Kind::Image;
        job.withTangents = file.kind == Kind::ModelWithTangents;
        job.path = file.path;
        jobs.push_back(std::move(job));
    }
    for (int i = 0; i < threadCount; ++i) workers.emplace_back(&AssetPrefetch::work, this);
}

AssetPrefetch::~AssetPrefetch() {
    {
        // Jobs not begun yet are dropped.
        std::lock_guard<std::mutex> lock(mutex);
        nextJob = jobs.size();
    }
    for (std::thread& worker : workers) worker.join();
}

void AssetPrefetch::work() {
    for (;;) {
        Job* job = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (nextJob >= jobs.size()) return;
            job = &jobs[nextJob++];
        }
        std::unique_ptr<PreparedModel> model;
        std::unique_ptr<platform::ImageRead> image;
        if (job->isModel) {
            model = prepareModel(job->path.c_str(), job->withTangents);
        } else {
            image = std::make_unique<platform::ImageRead>(platform::readImageForUpload(
                job->path.c_str(), platform::GLFW_ORIGIN_UL_BIT, platform::kMaxImageDimension));
        }
        {
            std::lock_guard<std::mutex> lock(mutex);
            job->model = std::move(model);
            job->image = std::move(image);
            job->done = true;
        }
        finished.notify_all();
    }
}

AssetPrefetch::Job* AssetPrefetch::waitFor(bool isModel, const std::string& path,
                                           bool withTangents) {
    std::unique_lock<std::mutex> lock(mutex);
    for (Job& job : jobs) {
        if (job.taken || job.isModel != isModel || job.path != path) continue;
        if (isModel && job.withTangents != withTangents) continue;
        finished.wait(lock, [&job] { return job.done; });
        job.taken = true;
        return &job;
    }
    return nullptr;
}

std::unique_ptr<PreparedModel> AssetPrefetch::takeModel(const std::string& path,
                                                        bool withTangents) {
    Job* job = waitFor(true, path, withTangents);
    return job != nullptr ? std::move(job->model) : nullptr;
}

std::unique_ptr<platform::ImageRead> AssetPrefetch::takeImage(const std::string& path) {
    Job* job = waitFor(false, path, false);
    return job != nullptr ? std::move(job->image) : nullptr;
}
