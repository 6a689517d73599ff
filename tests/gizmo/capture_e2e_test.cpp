// island-capture run for real, in a scratch directory laid out like the run
// directory: the files it writes, their size, their repeatability, and how it
// refuses a bad command line.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

namespace fs = std::filesystem;

namespace {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

Image readPng(const fs::path& path) {
    Image image;
    int channels = 0;
    unsigned char* data = stbi_load(path.c_str(), &image.width, &image.height, &channels, 3);
    if (data != nullptr) {
        image.rgb.assign(data, data + 3 * image.width * image.height);
        stbi_image_free(data);
    }
    return image;
}

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// A scratch run directory: the tool, config.cfg and a copy of Shaders/, with
// Models/ and Sprites/ shared from the build's run directory when present.
class CaptureDirectory {
public:
    CaptureDirectory() {
        std::string pattern = (fs::temp_directory_path() / "island-capture-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        directory = pattern;
        const char* runVariable = std::getenv("ISLAND_RUN_DIR");
        if (runVariable == nullptr) throw std::runtime_error("ISLAND_RUN_DIR is not set");
        const fs::path run = runVariable;
        fs::copy_file(run / "island-capture", directory / "island-capture");
        fs::copy_file(run / "config.cfg", directory / "config.cfg");
        fs::copy(run / "Shaders", directory / "Shaders", fs::copy_options::recursive);
        for (const char* shared : {"Models", "Sprites"}) {
            if (fs::exists(run / shared)) {
                fs::create_directory_symlink(run / shared, directory / shared);
            }
        }
    }
    ~CaptureDirectory() {
        std::error_code ignored;
        fs::remove_all(directory, ignored);
    }

    // Runs the tool with `arguments`; returns its exit status, or -1 when it
    // had to be killed after `timeoutSeconds`.
    int run(const std::vector<std::string>& arguments, double timeoutSeconds = 60.0) {
        const std::string out = (directory / "stdout.txt").string();
        const std::string err = (directory / "stderr.txt").string();
        std::vector<char*> argv;
        std::vector<std::string> words = {"./island-capture"};
        words.insert(words.end(), arguments.begin(), arguments.end());
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        const pid_t pid = fork();
        if (pid == 0) {
            if (chdir(directory.c_str()) != 0) _exit(127);
            const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(outFd, 1);
            dup2(errFd, 2);
            execv(argv[0], argv.data());
            _exit(127);
        }
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
        int status = 0;
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string standardOutput() const { return readFile(directory / "stdout.txt"); }
    std::string standardError() const { return readFile(directory / "stderr.txt"); }
    std::vector<std::string> filesIn(const std::string& relative) const {
        std::vector<std::string> names;
        if (!fs::exists(directory / relative)) return names;
        for (const auto& entry : fs::directory_iterator(directory / relative)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path directory;
};

}  // namespace

TEST(Capture, WritesTheRequestedFilesAtTheRequestedSize) {
    CaptureDirectory capture;
    ASSERT_EQ(capture.run({"--at", "0.25,0,0.5", "--size", "160x120", "--out", "shots/a",
                           "--prefix", "flight"}),
              0)
        << capture.standardError();
    EXPECT_EQ(capture.filesIn("shots/a"),
              (std::vector<std::string>{"flight-0.25s.png", "flight-0.5s.png", "flight-0s.png"}));
    for (const std::string& name : capture.filesIn("shots/a")) {
        const Image image = readPng(capture.directory / "shots/a" / name);
        EXPECT_EQ(image.width, 160) << name;
        EXPECT_EQ(image.height, 120) << name;
    }
    // One progress line per file written, on standard error.
    const std::string err = capture.standardError();
    EXPECT_NE(err.find("island-capture: wrote shots/a/flight-0.5s.png (3 of 3, frame 30)\n"),
              std::string::npos)
        << err;
}

TEST(Capture, WithoutSizeTheImageHasTheConfiguredWindowSize) {
    CaptureDirectory capture;
    std::ofstream(capture.directory / "config.cfg") << "window_width=200\nwindow_height=100\n";
    ASSERT_EQ(capture.run({"--at", "0"}), 0) << capture.standardError();
    const Image image = readPng(capture.directory / "frame-0s.png");
    EXPECT_EQ(image.width, 200);
    EXPECT_EQ(image.height, 100);
}

TEST(Capture, SameTimesGiveTheSamePixels) {
    CaptureDirectory capture;
    ASSERT_EQ(capture.run({"--at", "0.1,0.3", "--size", "200x150", "--out", "first"}), 0)
        << capture.standardError();
    // The second run also saves other moments; the shared ones must not change.
    ASSERT_EQ(capture.run({"--at", "0,0.1,0.2,0.3", "--size", "200x150", "--out", "second"}), 0)
        << capture.standardError();
    for (const char* name : {"frame-0.1s.png", "frame-0.3s.png"}) {
        const Image first = readPng(capture.directory / "first" / name);
        const Image second = readPng(capture.directory / "second" / name);
        ASSERT_EQ(first.rgb.size(), 200u * 150u * 3u) << name;
        EXPECT_TRUE(first.rgb == second.rgb) << name;
    }
}

TEST(Capture, BadArgumentGivesOneClearLineAndStatusTwo) {
    CaptureDirectory capture;
    EXPECT_EQ(capture.run({"--at", "1", "--size", "800by600"}), 2);
    EXPECT_EQ(capture.standardError(),
              "island-capture: --size: expected WIDTHxHEIGHT such as 800x600, got '800by600'\n");
    // Refused before start-up: no window, no context report, no file.
    EXPECT_EQ(capture.standardOutput(), "");
    for (const std::string& name : capture.filesIn(".")) {
        EXPECT_NE(fs::path(name).extension(), ".png") << name;
    }

    EXPECT_EQ(capture.run({"--at", "1", "--gizmo", "rock"}), 2);
    EXPECT_EQ(capture.standardError(),
              "island-capture: --gizmo: expected cliff, tree, water or none, got 'rock'\n");
    EXPECT_EQ(capture.run({"--size", "80x60"}), 2);
    EXPECT_EQ(capture.standardError().rfind("island-capture: --at: required", 0), 0u);
}

TEST(Capture, HelpPrintsUsageAndSucceeds) {
    CaptureDirectory capture;
    EXPECT_EQ(capture.run({"--help"}), 0);
    EXPECT_EQ(capture.standardOutput().rfind("Usage: island-capture --at", 0), 0u);
    EXPECT_EQ(capture.standardError(), "");
}

TEST(Capture, UnwritableOutputDirectoryIsReported) {
    CaptureDirectory capture;
    std::ofstream(capture.directory / "taken") << "a file, not a directory";
    EXPECT_EQ(capture.run({"--at", "0", "--out", "taken/shots"}), 1);
    EXPECT_EQ(capture.standardError().rfind(
                  "island-capture: --out: cannot create directory 'taken/shots'", 0),
              0u)
        << capture.standardError();
}

TEST(Capture, SceneWithoutItsModelsFailsNamingThemAndWritesNothing) {
    CaptureDirectory capture;
    fs::remove(capture.directory / "Models");
    EXPECT_EQ(capture.run({"--at", "0", "--size", "80x60"}), 1);
    EXPECT_NE(capture.standardError().find(
                  "island-capture: the scene did not load whole; missing or unreadable: "
                  "Models/water_plane.obj, Models/light_sphere.obj, Models/tree2.obj, "
                  "Models/island_large.obj, Models/skybox_new.obj\n"),
              std::string::npos)
        << capture.standardError();
    for (const std::string& name : capture.filesIn(".")) {
        EXPECT_NE(fs::path(name).extension(), ".png") << name;
    }
}

namespace {

bool runDirectoryHasModels() {
    const char* run = std::getenv("ISLAND_RUN_DIR");
    return run != nullptr && fs::is_directory(fs::path(run) / "Models");
}

std::size_t differingPixels(const Image& a, const Image& b) {
    std::size_t count = 0;
    for (std::size_t i = 0; i + 2 < a.rgb.size() && i + 2 < b.rgb.size(); i += 3) {
        if (a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1] || a.rgb[i + 2] != b.rgb[i + 2]) {
            ++count;
        }
    }
    return count;
}

}  // namespace

TEST(CaptureOfTheScene, TheFlightMovesTheView) {
    if (!runDirectoryHasModels()) GTEST_SKIP() << "no generated Models/ in the run directory";
    CaptureDirectory capture;
    ASSERT_EQ(capture.run({"--at", "0,1", "--size", "160x120"}), 0) << capture.standardError();
    const Image start = readPng(capture.directory / "frame-0s.png");
    const Image later = readPng(capture.directory / "frame-1s.png");
    // The camera has flown 18 units sideways and turned by 1 s: much of the
    // picture changed.
    EXPECT_GT(differingPixels(start, later), start.rgb.size() / 3 / 4);
}

TEST(CaptureOfTheScene, GizmoDrawsTheCliffsFramesOverTheScene) {
    if (!runDirectoryHasModels()) GTEST_SKIP() << "no generated Models/ in the run directory";
    CaptureDirectory capture;
    ASSERT_EQ(capture.run({"--at", "0", "--size", "160x120", "--out", "plain"}), 0)
        << capture.standardError();
    ASSERT_EQ(capture.run({"--at", "0", "--size", "160x120", "--out", "gizmo", "--gizmo", "cliff"}),
              0)
        << capture.standardError();
    const Image plain = readPng(capture.directory / "plain/frame-0s.png");
    const Image gizmo = readPng(capture.directory / "gizmo/frame-0s.png");
    EXPECT_GT(differingPixels(plain, gizmo), 100u);
    // The gizmo's program built: no failure message on either stream.
    EXPECT_EQ(capture.standardOutput().find("Could not compile"), std::string::npos)
        << capture.standardOutput();
}
