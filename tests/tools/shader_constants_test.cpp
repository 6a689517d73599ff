// The numbers the base shaders share with the program, with the asset
// generator and with each other. The shaders stay plain GLSL that a user can
// edit, so each keeps its own named copy; these tests hold every copy to its
// home, in each dialect the build writes into the run directory.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "render/shading_mode.h"
#include "scene/scene_placements.h"
#include "test_support.h"
#include "tools/assetgen/sky.h"

namespace {

const char* const kDialects[] = {"120", "330", "300es"};
const char* const kStages[] = {"base.vert", "base.frag"};

std::string shaderPath(const std::string& dialect, const std::string& stage) {
    return support::runPath("Shaders/" + dialect + "/" + stage);
}

// The global constants of a shader, by name, each as the numbers of its
// initialiser ("vec3(0.13, 0.33, 0.70)" gives 0.13, 0.33, 0.70).
std::map<std::string, std::vector<double>> constantsOf(const std::string& source) {
    static const std::regex declaration(R"(const\s+\w+\s+(\w+)\s*=\s*(?:\w+\()?([^;]*);.*)");
    static const std::regex number(R"([-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?)");
    std::map<std::string, std::vector<double>> constants;
    std::istringstream lines(source);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (!std::regex_match(line, match, declaration)) continue;
        const std::string initialiser = match[2];
        std::vector<double>& values = constants[match[1]];
        for (std::sregex_iterator it(initialiser.begin(), initialiser.end(), number), end;
             it != end; ++it)
            values.push_back(std::stod(it->str()));
    }
    return constants;
}

bool sameNumbers(const std::vector<double>& a, const std::vector<double>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::fabs(a[i] - b[i]) > 1e-6 * std::max(1.0, std::fabs(b[i]))) return false;
    return true;
}

std::string listed(const std::vector<double>& values) {
    std::ostringstream text;
    for (double value : values) text << value << " ";
    return text.str();
}

std::vector<double> numbers(const glm::dvec3& v) { return {v.x, v.y, v.z}; }

}  // namespace

TEST(ShaderConstants, EveryCopyInTheShadersHoldsItsHomesValue) {
    const bool vert = true, frag = true, notVert = false;
    const struct Row {
        const char* name;
        std::vector<double> home;
        bool inVert, inFrag;
    } rows[] = {
        {"MODE_NONE", {kModeNone}, vert, frag},
        {"MODE_FLAT", {kModeFlat}, vert, frag},
        {"MODE_FLAT_SPECULAR", {kModeFlatSpecular}, vert, frag},
        {"MODE_GOURAUD", {kModeGouraud}, vert, frag},
        {"MODE_GOURAUD_SPECULAR", {kModeGouraudSpecular}, vert, frag},
        {"MODE_BUMPMAP", {kModeBumpmap}, vert, frag},
        {"MODE_BUMPMAP_SPECULAR", {kModeBumpmapSpecular}, vert, frag},
        {"MODE_SHADOW_PASS", {kModeShadowPass}, vert, frag},
        {"MODE_REFLECTION_PASS", {kModeReflectionPass}, vert, frag},
        {"WATER_HEIGHT", {kWaterHeight}, vert, frag},
        {"SKY_ZENITH", numbers(assetgen::kSkyZenith), notVert, frag},
        {"SKY_HORIZON", numbers(assetgen::kSkyHorizon), notVert, frag},
        {"SKY_GLOW", numbers(assetgen::kSkyGlow), notVert, frag},
        {"SKY_GLOW_BROAD", {assetgen::kSkyGlowBroad}, notVert, frag},
        {"SKY_GLOW_TIGHT", {assetgen::kSkyGlowTight}, notVert, frag},
    };
    for (const char* dialect : kDialects) {
        for (const char* stage : kStages) {
            const auto constants = constantsOf(support::readFile(shaderPath(dialect, stage)));
            const bool isVert = std::string(stage) == "base.vert";
            for (const Row& row : rows) {
                if (!(isVert ? row.inVert : row.inFrag)) continue;
                const auto found = constants.find(row.name);
                ASSERT_NE(found, constants.end())
                    << dialect << "/" << stage << " lacks " << row.name;
                EXPECT_TRUE(sameNumbers(found->second, row.home))
                    << dialect << "/" << stage << ": " << row.name << " is "
                    << listed(found->second) << "where the program has " << listed(row.home);
            }
        }
    }
}

// The two stages cannot share a declaration, so a number both use is written
// in each: the filter radius the fragment stage samples over and the vertex
// stage's bias allows for, say.
TEST(ShaderConstants, AConstantOfBothStagesHasOneValue) {
    for (const char* dialect : kDialects) {
        const auto vertex = constantsOf(support::readFile(shaderPath(dialect, "base.vert")));
        const auto fragment = constantsOf(support::readFile(shaderPath(dialect, "base.frag")));
        for (const char* name : {"SHADOW_FILTER_RADIUS", "SPECULAR_POWER"})
            EXPECT_TRUE(vertex.count(name) && fragment.count(name)) << dialect << ": " << name;
        for (const auto& [name, values] : vertex) {
            const auto other = fragment.find(name);
            if (other == fragment.end()) continue;
            EXPECT_TRUE(sameNumbers(values, other->second))
                << dialect << ": " << name << " is " << listed(values) << "in base.vert and "
                << listed(other->second) << "in base.frag";
        }
    }
}
