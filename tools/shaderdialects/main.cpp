// shaderdialects: writes the program's shaders in every GLSL dialect.
//   shaderdialects <source directory> <output directory> <name>...
// reads <source directory>/<name>.vert and .frag (GLSL 3.30) and writes
// <output directory>/<dialect>/<name>.vert and .frag for 120, 330 and 300es.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/shaderdialects/shader_dialect.h"

namespace fs = std::filesystem;
using namespace shaderdialects;

namespace {

bool writeDialects(const fs::path& sourcePath, ShaderStage stage, const fs::path& outputDirectory) {
    std::ifstream sourceFile(sourcePath, std::ios::binary);
    if (!sourceFile) {
        std::fprintf(stderr, "shaderdialects: cannot read %s\n", sourcePath.string().c_str());
        return false;
    }
    const std::string source((std::istreambuf_iterator<char>(sourceFile)),
                             std::istreambuf_iterator<char>());
    for (const Dialect& dialect : dialects()) {
        const Translation translation =
            translateShader(source, stage, dialect, sourcePath.filename().string());
        if (!translation.ok) {
            std::fprintf(stderr, "shaderdialects: %s\n", translation.error.c_str());
            return false;
        }
        const fs::path directory = outputDirectory / dialect.directory;
        std::error_code error;
        fs::create_directories(directory, error);
        const fs::path target = directory / sourcePath.filename();
        std::ofstream out(target, std::ios::binary);
        out << translation.text;
        if (!out.flush()) {
            std::fprintf(stderr, "shaderdialects: cannot write %s\n", target.string().c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: shaderdialects <source directory> <output directory> <name>...\n");
        return 2;
    }
    for (int index = 3; index < argc; ++index) {
        const fs::path base = fs::path(argv[1]) / argv[index];
        if (!writeDialects(base.string() + ".vert", ShaderStage::Vertex, argv[2]) ||
            !writeDialects(base.string() + ".frag", ShaderStage::Fragment, argv[2])) {
            return 1;
        }
    }
    return 0;
}
