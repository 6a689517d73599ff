// Mesh construction speed at 2 million triangles: every per-corner array the
// build uploads (the GL upload itself aside), and the smooth sums alone.
#include <benchmark/benchmark.h>

#include "assets/mesh.h"
#include "assets/obj_reader.h"
#include "obj_grid.h"

namespace {

const Mesh& gridMesh() {
    static Mesh* mesh = [] {
        Mesh* built = new Mesh;
        readObjFile(obj_grid::BenchmarkFile::get().path().c_str(), built->model);
        return built;
    }();
    return *mesh;
}

void BM_MeshCornerArrays(benchmark::State& state) {
    Mesh mesh;
    mesh.model = gridMesh().model;
    for (auto _ : state) {
        mesh.computeFaceTangents();
        benchmark::DoNotOptimize(mesh.cornerIndices().data());
        benchmark::DoNotOptimize(mesh.cornerPositions().data());
        benchmark::DoNotOptimize(mesh.cornerFlatNormals().data());
        benchmark::DoNotOptimize(mesh.cornerFlatTangents().data());
        benchmark::DoNotOptimize(mesh.cornerSmoothNormals().data());
        benchmark::DoNotOptimize(mesh.cornerSmoothTangents().data());
        benchmark::DoNotOptimize(mesh.cornerUnitX().data());
        benchmark::DoNotOptimize(mesh.cornerUnitY().data());
        benchmark::DoNotOptimize(mesh.cornerTexCoords().data());
    }
    state.counters["triangles"] = static_cast<double>(mesh.model.faceCount);
}

void BM_MeshSmoothNormals(benchmark::State& state) {
    Mesh mesh;
    mesh.model = gridMesh().model;
    for (auto _ : state) benchmark::DoNotOptimize(mesh.cornerSmoothNormals().data());
}

}  // namespace

BENCHMARK(BM_MeshCornerArrays)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_MeshSmoothNormals)->Unit(benchmark::kMillisecond);
