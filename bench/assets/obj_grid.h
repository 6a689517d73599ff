// The benchmark model: a cells × cells grid of quads split into triangles
// (2 × cells² faces), with a position, texture coordinate and normal per grid
// point and faces written "a/a/a b/b/b c/c/c". At 1000 × 1000 cells the OBJ
// text is about 210 MB with 2 million triangles.
#pragma once

#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

namespace obj_grid {

inline float heightAt(int i, int j) { return 2.0f * std::sin(0.05f * i) * std::cos(0.03f * j); }

// Writes the grid's OBJ text to `path`; returns its size in bytes.
inline long writeObjFile(const std::string& path, int cells) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) return -1;
    const int points = cells + 1;
    for (int j = 0; j < points; ++j)
        for (int i = 0; i < points; ++i)
            std::fprintf(file, "v %.6f %.6f %.6f\n", 0.1f * i, heightAt(i, j), 0.1f * j);
    for (int j = 0; j < points; ++j)
        for (int i = 0; i < points; ++i)
            std::fprintf(file, "vt %.6f %.6f\n", static_cast<float>(i) / cells,
                         static_cast<float>(j) / cells);
    for (int j = 0; j < points; ++j)
        for (int i = 0; i < points; ++i) {
            const float dx = heightAt(i + 1, j) - heightAt(i - 1, j);
            const float dz = heightAt(i, j + 1) - heightAt(i, j - 1);
            const float length = std::sqrt(dx * dx + 0.04f + dz * dz);
            std::fprintf(file, "vn %.6f %.6f %.6f\n", -dx / length, 0.2f / length, -dz / length);
        }
    for (int j = 0; j < cells; ++j)
        for (int i = 0; i < cells; ++i) {
            const int a = j * points + i + 1, b = a + 1, c = a + points, d = c + 1;
            std::fprintf(file, "f %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, c, c, c, b, b, b);
            std::fprintf(file, "f %d/%d/%d %d/%d/%d %d/%d/%d\n", b, b, b, c, c, c, d, d, d);
        }
    const long size = std::ftell(file);
    std::fclose(file);
    return size;
}

// The grid file of the benchmarks, written on first use into a fresh
// temporary directory and removed when the process ends; never kept.
class BenchmarkFile {
  public:
    static const BenchmarkFile& get() {
        static const BenchmarkFile file(1000);
        return file;
    }
    const std::string& path() const { return filePath; }
    long size() const { return fileSize; }

    ~BenchmarkFile() {
        if (!directory.empty()) std::filesystem::remove_all(directory);
    }

  private:
    explicit BenchmarkFile(int cells) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "island_bench_XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) return;
        directory = pattern;
        filePath = directory + "/grid.obj";
        fileSize = writeObjFile(filePath, cells);
    }

    std::string directory;
    std::string filePath;
    long fileSize = -1;
};

}  // namespace obj_grid
