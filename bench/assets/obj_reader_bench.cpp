// OBJ reading speed on the 1000 × 1000 grid (about 210 MB, 2 million
// triangles), ours and tinyobjloader's on the same file in the same run: from
// the file, and from the text already in memory. A single memchr pass over the
// text is the floor. Rates are bytes of OBJ text per second of CPU time.
#include <benchmark/benchmark.h>
#include <tiny_obj_loader.h>

#include <cstring>
#include <istream>
#include <memory>
#include <streambuf>

#include "assets/obj_reader.h"
#include "obj_grid.h"

namespace {

void reportBytes(benchmark::State& state, long bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
}

void BM_ReadObjFile(benchmark::State& state) {
    const obj_grid::BenchmarkFile& file = obj_grid::BenchmarkFile::get();
    for (auto _ : state) {
        ObjModel model;
        readObjFile(file.path().c_str(), model);
        benchmark::DoNotOptimize(model.faces.data());
        if (model.faceCount != 2000000) state.SkipWithError("wrong face count");
    }
    reportBytes(state, file.size());
}

void BM_TinyObjLoader(benchmark::State& state) {
    const obj_grid::BenchmarkFile& file = obj_grid::BenchmarkFile::get();
    for (auto _ : state) {
        tinyobj::attrib_t attributes;
        std::vector<tinyobj::shape_t> shapes;
        std::vector<tinyobj::material_t> materials;
        std::string warning, error;
        const bool loaded = tinyobj::LoadObj(&attributes, &shapes, &materials, &warning, &error,
                                             file.path().c_str());
        benchmark::DoNotOptimize(attributes.vertices.data());
        if (!loaded || shapes.empty() || shapes[0].mesh.indices.size() != 6000000)
            state.SkipWithError("tinyobjloader failed");
    }
    reportBytes(state, file.size());
}

// The text already in memory: the two passes alone.
void BM_ParseObjText(benchmark::State& state) {
    const obj_grid::BenchmarkFile& file = obj_grid::BenchmarkFile::get();
    std::unique_ptr<char[]> text;
    const int length = readWholeFile(file.path().c_str(), text);
    for (auto _ : state) {
        ObjModel model;
        parseObjText(text.get(), length, model);
        benchmark::DoNotOptimize(model.faces.data());
    }
    reportBytes(state, length);
}

// tinyobjloader on the same text already in memory, read through a stream.
void BM_TinyObjLoaderFromMemory(benchmark::State& state) {
    const obj_grid::BenchmarkFile& file = obj_grid::BenchmarkFile::get();
    std::unique_ptr<char[]> text;
    const int length = readWholeFile(file.path().c_str(), text);
    struct MemoryBuffer : std::streambuf {
        MemoryBuffer(char* begin, char* end) { setg(begin, begin, end); }
    };
    for (auto _ : state) {
        MemoryBuffer buffer(text.get(), text.get() + length);
        std::istream stream(&buffer);
        tinyobj::attrib_t attributes;
        std::vector<tinyobj::shape_t> shapes;
        std::vector<tinyobj::material_t> materials;
        std::string warning, error;
        const bool loaded =
            tinyobj::LoadObj(&attributes, &shapes, &materials, &warning, &error, &stream);
        benchmark::DoNotOptimize(attributes.vertices.data());
        if (!loaded || shapes.empty()) state.SkipWithError("tinyobjloader failed");
    }
    reportBytes(state, length);
}

void BM_MemchrLines(benchmark::State& state) {
    const obj_grid::BenchmarkFile& file = obj_grid::BenchmarkFile::get();
    std::unique_ptr<char[]> text;
    const int length = readWholeFile(file.path().c_str(), text);
    for (auto _ : state) {
        long lines = 0;
        const char* p = text.get();
        const char* end = p + length;
        while (p < end) {
            const void* newline = std::memchr(p, '\n', static_cast<size_t>(end - p));
            if (newline == nullptr) break;
            p = static_cast<const char*>(newline) + 1;
            ++lines;
        }
        benchmark::DoNotOptimize(lines);
    }
    reportBytes(state, length);
}

}  // namespace

BENCHMARK(BM_ReadObjFile)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_TinyObjLoader)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ParseObjText)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_TinyObjLoaderFromMemory)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_MemchrLines)->Unit(benchmark::kMillisecond);
