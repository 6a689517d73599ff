// Frame time of the island scene at 800 x 600 on whatever driver the display
// offers (llvmpipe under Xvfb): an empty frame (clear and swap), each pass on
// its own and the whole frame, reported as frames per second and as a
// multiple of the empty frame measured in the same run; the scene is the run
// directory's (ISLAND_RUN_DIR), loaded with the demo's own start-up and
// set-up. Then the real binary: launch to its first swapped frame (median of
// 5) and the median frame of its flight from 3 s to 13 s, each against a
// floor program that does the same work bare, run in turn with it, when
// ISLAND_FLOOR names one (it takes "--case first --frames N" for a window
// that clears and swaps, and "--case e --n TRIANGLES" for the three passes,
// printing "med=<ms>").
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

#include "app/startup.h"
#include "camera/camera.h"
#include "demo_run.h"
#include "frame/frame_composition.h"
#include "platform/gl.h"
#include "platform/window.h"
#include "render/scene_object.h"
#include "scene/scene_setup.h"
#include "state/app_config.h"
#include "state/globals.h"

namespace {

using Clock = std::chrono::steady_clock;

// Seconds per empty frame, measured by the first benchmark of the run, and
// per whole frame that draws the shadow map.
double emptyFrameSeconds = 0.0;
double wholeFrameSeconds = 0.0;

bool enterRunDirectory() {
    const char* run = std::getenv("ISLAND_RUN_DIR");
    std::error_code error;
    std::filesystem::current_path(run != nullptr ? run : "run", error);
    return !error;
}

// Xvfb resets itself whenever its last client leaves and refuses connections
// meanwhile; a connection held for the whole run keeps it from resetting
// between the benchmarks' windows, so that no start-up waits for a reset.
Display* heldDisplay = XOpenDisplay(nullptr);

bool startUpWithRetry() {
    for (int attempt = 0; attempt < 60; ++attempt) {
        if (startUp()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

struct OpenScene {
    OpenScene() {
        appConfig = AppConfig{};
        resetGlobals();
        ok = enterRunDirectory() && startUpWithRetry();
        if (!ok) return;
        scene = std::make_unique<Scene>();
        ok = setUpScene(*scene);
        view = camera.update();
    }
    ~OpenScene() {
        scene.reset();
        platform::glfwTerminate();
    }
    bool ok = false;
    std::unique_ptr<Scene> scene;
    glm::mat4 view{1.0f};
};

// Runs `frame` once per iteration, waiting for the GPU each time, and reports
// frames per second and the ratio to the empty frame. The passes' rows make
// the shared-corner indices their first draws ask for, as each frame does.
void measure(benchmark::State& state, const std::function<void()>& frame) {
    for (int warmUp = 0; warmUp < 3; ++warmUp) frame();
    glFinish();
    const Clock::time_point start = Clock::now();
    for (auto _ : state) {
        frame();
        glFinish();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count() /
                           static_cast<double>(state.iterations());
    state.counters["fps"] = 1.0 / seconds;
    state.counters["ms"] = seconds * 1000.0;
    if (emptyFrameSeconds > 0.0) state.counters["x_empty"] = seconds / emptyFrameSeconds;
}

void BM_EmptyFrame(benchmark::State& state) {
    OpenScene open;
    if (!open.ok) return state.SkipWithError("no window or scene");
    measure(state, [] {
        glViewport(0, 0, appConfig.window_width, appConfig.window_height);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        platform::glfwSwapBuffers();
    });
    emptyFrameSeconds = state.counters["ms"] / 1000.0;
    state.counters["x_empty"] = 1.0;
}

void BM_ShadowPass(benchmark::State& state) {
    OpenScene open;
    if (!open.ok) return state.SkipWithError("no window or scene");
    measure(state, [&] {
        shareWantedCorners(*open.scene);
        open.scene->shadowMapDrawn = false;
        renderShadowPass(*open.scene);
    });
}

void BM_ReflectionPass(benchmark::State& state) {
    OpenScene open;
    if (!open.ok) return state.SkipWithError("no window or scene");
    renderShadowPass(*open.scene);
    measure(state, [&] {
        shareWantedCorners(*open.scene);
        renderReflectionPass(*open.scene, open.view);
    });
}

void BM_MainPass(benchmark::State& state) {
    OpenScene open;
    if (!open.ok) return state.SkipWithError("no window or scene");
    renderShadowPass(*open.scene);
    renderReflectionPass(*open.scene, open.view);
    measure(state, [&] {
        shareWantedCorners(*open.scene);
        renderMainPass(*open.scene, open.view);
    });
}

// The whole frame at the start view, the shadow map drawn anew every time
// (as when the light moves) ...
void BM_WholeFrame(benchmark::State& state) {
    OpenScene open;
    if (!open.ok) return state.SkipWithError("no window or scene");
    measure(state, [&] {
        open.scene->shadowMapDrawn = false;
        renderFrame(*open.scene, open.view);
        platform::glfwSwapBuffers();
    });
    wholeFrameSeconds = state.counters["ms"] / 1000.0;
}

// ... and reusing the map of the frame before, as while nothing it depends
// on changes.
void BM_WholeFrameReusingShadowMap(benchmark::State& state) {
    OpenScene open;
    if (!open.ok) return state.SkipWithError("no window or scene");
    measure(state, [&] {
        renderFrame(*open.scene, open.view);
        platform::glfwSwapBuffers();
    });
    if (wholeFrameSeconds > 0.0)
        state.counters["x_redraw"] = state.counters["ms"] / 1000.0 / wholeFrameSeconds;
}

std::string runDirectory() {
    const char* run = std::getenv("ISLAND_RUN_DIR");
    return std::filesystem::absolute(run != nullptr ? run : "run").string();
}

std::string floorProgram() {
    const char* floor = std::getenv("ISLAND_FLOOR");
    return floor != nullptr ? std::filesystem::absolute(floor).string() : "";
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// Reports the demo's figure, and the floor's with the ratio where there is one.
void reportAgainstFloor(benchmark::State& state, double demoSeconds, double floorSeconds) {
    state.counters["demo_ms"] = demoSeconds * 1000.0;
    if (floorSeconds <= 0.0) return;
    state.counters["floor_ms"] = floorSeconds * 1000.0;
    state.counters["x_floor"] = demoSeconds / floorSeconds;
}

// The run directory of another build of the demo (ISLAND_BASELINE, for
// example one of the earlier code with the data it generated), whose island
// is launched in turn with this one.
std::string baselineRunDirectory() {
    const char* baseline = std::getenv("ISLAND_BASELINE");
    return baseline != nullptr ? std::filesystem::absolute(baseline).string() : "";
}

// Launch of the real binary to its first swapped frame, five times (or
// ISLAND_LAUNCHES), each after a launch of the floor's window that only
// clears and swaps and of the baseline build, where those are given.
void BM_DemoLaunchToFirstFrame(benchmark::State& state) {
    const std::string floor = floorProgram(), baseline = baselineRunDirectory();
    const char* launchesSet = std::getenv("ISLAND_LAUNCHES");
    const int launches = launchesSet != nullptr ? std::max(1, std::atoi(launchesSet)) : 5;
    std::vector<double> demo, bare, earlier;
    for (auto _ : state) {
        for (int launch = 0; launch < launches; ++launch) {
            if (!floor.empty())
                bare.push_back(
                    runStamped(runDirectory(), {floor, "--case", "first", "--frames", "50"}, 0.0)
                        .startUpSeconds());
            if (!baseline.empty())
                earlier.push_back(
                    runStamped(baseline, {baseline + "/island"}, 0.0).startUpSeconds());
            demo.push_back(
                runStamped(runDirectory(), {runDirectory() + "/island"}, 0.0).startUpSeconds());
        }
    }
    if (median(demo) <= 0.0) return state.SkipWithError("the demo showed no frame");
    reportAgainstFloor(state, median(demo), median(bare));
    if (median(earlier) <= 0.0) return;
    state.counters["baseline_ms"] = median(earlier) * 1000.0;
    state.counters["x_baseline"] = median(demo) / median(earlier);
    if (median(bare) > 0.0) state.counters["baseline_x_floor"] = median(earlier) / median(bare);
}

// The median frame of the scripted flight from 3 s to 13 s, right after the
// floor's three passes at the island's triangle count.
void BM_DemoFlightMedianFrame(benchmark::State& state) {
    const std::string floor = floorProgram();
    double demo = 0.0, bare = 0.0;
    for (auto _ : state) {
        if (!floor.empty()) {
            std::ifstream model(runDirectory() + "/Models/island_large.obj");
            long triangles = 0;
            for (std::string line; std::getline(model, line);)
                triangles += line.rfind("f ", 0) == 0;
            const std::string output =
                outputOf("'" + floor + "' --case e --n " + std::to_string(triangles));
            const size_t at = output.find("med=");
            if (at != std::string::npos) bare = std::atof(output.c_str() + at + 4) / 1000.0;
        }
        demo = runStamped(runDirectory(), {runDirectory() + "/island"}, 13.0)
                   .medianFrameSeconds(3.0, 13.0);
    }
    if (demo <= 0.0) return state.SkipWithError("the demo showed no flight");
    reportAgainstFloor(state, demo, bare);
}

// One object alone in the window, as the main pass draws it, after this
// frame's shadow and reflection passes: 0 tree, 1 cliff, 2 sky box, 3 water,
// 4 light sphere. Without the others in front, nothing is hidden early.
void BM_MainPassObject(benchmark::State& state) {
    OpenScene open;
    if (!open.ok) return state.SkipWithError("no window or scene");
    renderShadowPass(*open.scene);
    renderReflectionPass(*open.scene, open.view);
    SceneObject* objects[] = {open.scene->tree, open.scene->cliff, open.scene->skybox,
                              open.scene->water, open.scene->lightSphere};
    SceneObject* object = objects[state.range(0)];
    measure(state, [&] {
        shareWantedCorners(*open.scene);
        glViewport(0, 0, appConfig.window_width, appConfig.window_height);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glCullFace(GL_BACK);
        object->draw(open.view, open.scene->projection, *open.scene->baseProgram);
    });
}

BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ShadowPass)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReflectionPass)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_MainPass)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WholeFrame)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_WholeFrameReusingShadowMap)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_MainPassObject)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_DemoLaunchToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_DemoFlightMedianFrame)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
