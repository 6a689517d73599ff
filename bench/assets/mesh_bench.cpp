// Mesh construction speed at 2 million triangles: every per-corner array the
// build with tangents uploads (the GL upload itself aside), once as the build
// makes them (one storage refilled for each vec3 array) and once through the
// public corner*() functions (a new array each), and the smooth sums alone.
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

void BM_MeshBuildArrays(benchmark::State& state) {
    Mesh mesh;
    mesh.model = gridMesh().model;
    const Mesh::CornerArray kinds[] = {
        Mesh::CornerArray::Positions,      Mesh::CornerArray::FlatNormals,
        Mesh::CornerArray::FlatTangents,   Mesh::CornerArray::SmoothNormals,
        Mesh::CornerArray::SmoothTangents, Mesh::CornerArray::UnitX,
        Mesh::CornerArray::UnitY};
    for (auto _ : state) {
        mesh.computeFaceTangents();
        benchmark::DoNotOptimize(mesh.cornerIndices().data());
        std::vector<glm::vec3> corners;
        for (Mesh::CornerArray kind : kinds) {
            mesh.fillCornerArray(kind, corners);
            benchmark::DoNotOptimize(corners.data());
        }
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
BENCHMARK(BM_MeshBuildArrays)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_MeshSmoothNormals)->Unit(benchmark::kMillisecond);
