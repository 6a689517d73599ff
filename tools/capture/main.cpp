// island-capture: renders the island's scripted flight into PNG files without
// anyone at the keyboard. It starts up exactly as the demo does (config.cfg,
// the window, the scene), but its clock is virtual and steps at a fixed 60
// frames per second from 0, so the same times always give the same images.
// Every frame runs the demo's start of frame in playback mode (the playback
// script and the camera's playback update); the frames it saves are also
// drawn, swapped and checked for a GL error as in the demo, the others only
// advance the flight (nothing drawn carries over into a later frame). The key
// handlers are left out: nobody is at the keyboard.
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "app/startup.h"
#include "capture_options.h"
#include "frame/frame_composition.h"
#include "frame/frame_loop.h"
#include "frame/virtual_flight.h"
#include "frame_image.h"
#include "platform/console.h"
#include "platform/gl_context.h"
#include "platform/scripted_input.h"
#include "platform/window.h"
#include "render/coordinate_gizmo.h"
#include "render/scene_object.h"
#include "render/shader_program.h"
#include "scene/scene_setup.h"
#include "state/app_config.h"

namespace {

void report(const std::string& line) { platform::printErrorLine("island-capture: " + line); }

SceneObject* gizmoObject(const Scene& scene, GizmoTarget target) {
    switch (target) {
        case GizmoTarget::Cliff:
            return scene.cliff;
        case GizmoTarget::Tree:
            return scene.tree;
        case GizmoTarget::Water:
            return scene.water;
        case GizmoTarget::None:
            break;
    }
    return nullptr;
}

// Frames of a scene with parts missing would pass for real pictures, so a
// capture needs every model and texture; false, after one line naming the
// files, when any could not be read.
bool sceneLoadedWhole(const Scene& scene) {
    if (scene.unreadFiles.empty()) return true;
    std::string files;
    for (const std::string& file : scene.unreadFiles) files += (files.empty() ? "" : ", ") + file;
    report("the scene did not load whole; missing or unreadable: " + files);
    return false;
}

// Advances the flight from shot to shot and saves each. Returns the exit status.
int captureFlight(Scene& scene, const CaptureOptions& options,
                  platform::ScriptedInput& virtualInput) {
    std::unique_ptr<CoordinateGizmo> gizmo;
    if (SceneObject* object = gizmoObject(scene, options.gizmo)) {
        gizmo = std::make_unique<CoordinateGizmo>(object);
    }
    // The demo's own frame loop in its start state: playback mode, no
    // recording loaded, so no key and no mouse movement reach the camera.
    FrameLoop loop(scene);
    long nextFrame = 0;
    for (std::size_t shot = 0; shot < options.times.size(); ++shot) {
        const double seconds = options.times[shot];
        const long frame = flightFrameOfTime(seconds);
        advanceFlight(loop, virtualInput, nextFrame, frame);
        const glm::mat4 view = beginFlightFrame(loop, virtualInput, frame);
        nextFrame = frame + 1;
        renderFrame(scene, view);
        if (gizmo) gizmo->draw(view, scene.projection);

        const std::string path =
            (std::filesystem::path(options.outputDirectory) / shotFileName(options.prefix, seconds))
                .string();
        if (!writePng(path, readBackBuffer(scene.frameWidth, scene.frameHeight))) {
            report("cannot write " + path);
            return 1;
        }
        report("wrote " + path + " (" + std::to_string(shot + 1) + " of " +
               std::to_string(options.times.size()) + ", frame " + std::to_string(frame) + ")");

        platform::glfwSwapBuffers();
        platform::reportGLError();
        if (platform::glfwGetWindowParam(platform::GLFW_OPENED) == 0) {
            report("the window was closed after frame " + std::to_string(frame));
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CaptureOptions options;
    std::string error;
    if (!parseCaptureOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        report(error);
        return 2;
    }
    if (options.help) {
        std::cout << captureUsage();
        return 0;
    }
    std::error_code directoryError;
    std::filesystem::create_directories(options.outputDirectory, directoryError);
    if (directoryError) {
        report("--out: cannot create directory '" + options.outputDirectory +
               "': " + directoryError.message());
        return 1;
    }

    // Installed before start-up, so that every reading of the clock, the
    // shaders' "timer" included, sees the virtual time.
    platform::ScriptedInput virtualInput;
    platform::setInputSource(&virtualInput);
    setPlainDrawing(options.plain);  // before the programs are built
    const bool started = startUp([&options](AppConfig& config) {
        if (options.width > 0) {
            config.window_width = options.width;
            config.window_height = options.height;
        }
        config.fullscreen = platform::GLFW_WINDOW;
        config.showfps = false;
    });
    if (!started) return 1;

    int status = 0;
    {
        Scene scene;
        if (!setUpScene(scene)) return 1;
        status = sceneLoadedWhole(scene) ? captureFlight(scene, options, virtualInput) : 1;
    }  // the gizmo, the render targets and the programs go before the context
    platform::glfwTerminate();
    return status;
}
