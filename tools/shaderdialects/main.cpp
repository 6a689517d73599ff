// shaderdialects: writes the program's shaders in every GLSL dialect.
//   shaderdialects <source directory> <output directory> <name>...
// reads <source directory>/<name>.vert and .frag (GLSL 3.30) and writes
// <output directory>/<dialect>/<name>.vert and .frag for 120, 330 and 300es.
// Where glslangValidator is installed, every written file is compiled by it,
// and one it refuses is taken back: the tool stops naming the source's line
// (the lines keep their numbers), so a construct the rules do not know (an
// int where ES 3.00 wants a float, say) never leaves a broken file behind.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/shaderdialects/shader_dialect.h"

namespace fs = std::filesystem;
using namespace shaderdialects;

namespace {

std::string quoted(const std::string& path) {
    std::string out = "'";
    for (const char c : path) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

bool referenceCompilerInstalled() {
    static const bool installed = std::system("command -v glslangValidator > /dev/null 2>&1") == 0;
    return installed;
}

// The reference compiler's first complaint about `path`, as "LINE: message"
// ("" when it takes the file).
std::string referenceComplaint(const fs::path& path) {
    FILE* output = popen(("glslangValidator " + quoted(path.string()) + " 2>&1").c_str(), "r");
    if (output == nullptr) return "";
    std::string first;
    char line[1024];
    while (std::fgets(line, sizeof line, output) != nullptr) {
        const std::string text(line);
        const size_t at = text.find("ERROR: 0:");
        if (first.empty() && at == 0) first = text.substr(9, text.find_last_not_of("\r\n") - 8);
    }
    const int status = pclose(output);
    if (status == 0) return "";
    return first.empty() ? "0: not taken by glslangValidator" : first;
}

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
        out.close();
        if (!referenceCompilerInstalled()) continue;
        const std::string complaint = referenceComplaint(target);
        if (!complaint.empty()) {
            fs::remove(target, error);
            std::fprintf(stderr, "shaderdialects: %s:%s (in its %s form)\n",
                         sourcePath.filename().string().c_str(), complaint.c_str(),
                         dialect.description);
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
