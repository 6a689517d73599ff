// island in a web page. Start-up, the scene and every frame are the desktop
// program's own; what differs is who runs the loop. A page must hand control
// back to the browser after each frame, so the browser's display loop calls
// one frame per requestAnimationFrame, and the frame it draws is the one the
// browser shows next. The models and images are read on this one thread: the
// page then needs no worker threads, which a plain static server cannot give
// it (they need cross-origin isolation headers).
#include <emscripten.h>

#include <algorithm>
#include <memory>

#include "app/startup.h"
#include "assets/asset_prefetch.h"
#include "frame/frame_loop.h"
#include "frame/virtual_flight.h"
#include "platform/scripted_input.h"
#include "platform/window.h"
#include "scene/scene_setup.h"

namespace {

// The page's hooks (web/page.js); each is optional.
// clang-format off
EM_JS(void, pageFrameShown, (), {
    if (Module['onFrameShown']) Module['onFrameShown'](GLctx);
});
EM_JS(void, pageLoopEnded, (int status), {
    if (Module['onLoopEnded']) Module['onLoopEnded'](status);
});
// clang-format on

// Everything main() owns on the desktop. It outlives main(), which returns
// as soon as the browser's loop is set up.
struct Demo {
    Scene scene;
    std::unique_ptr<FrameLoop> loop;
};
Demo* demo = nullptr;

void runFrame() {
    demo->loop->runIteration();
    pageFrameShown();
    if (demo->loop->state.running) return;
    emscripten_cancel_main_loop();
    demo->loop->shutdown();
    delete demo;  // the render targets, then the base and the minimal program
    demo = nullptr;
    platform::glfwTerminate();
    pageLoopEnded(0);
}

// A page whose clock stands still at a moment of the flight shows that
// moment as island-capture draws it: the script steps the camera by the time
// since its last step, so the flight is run up to the moment on the same
// virtual clock first, without drawing, and the page's frames then begin at it.
void advanceFlightToHeldClock(FrameLoop& loop) {
    const double moment = platform::pageHeldClock();
    if (moment < 0.0) return;
    platform::ScriptedInput virtualClock;
    platform::setInputSource(&virtualClock);
    // Past the timeline's end the flight stands still; the bound keeps a huge
    // moment from overflowing the frame count.
    constexpr double kLongestFlight = 3600.0;
    advanceFlight(loop, virtualClock, 0, flightFrameOfTime(std::min(moment, kLongestFlight)));
    platform::setInputSource(nullptr);
}

int fail() {
    pageLoopEnded(1);
    return 1;
}

}  // namespace

// The page calls this when the canvas's WebGL context is lost: the program
// draws no more frames, ends a recording as quitting would, and lets go of
// the page's keys and mouse. Its GL objects went with the context, and the
// page starts a new program when it has one again.
extern "C" EMSCRIPTEN_KEEPALIVE void islandStop() {
    if (demo == nullptr || demo->loop == nullptr) return;
    emscripten_cancel_main_loop();
    demo->loop->shutdown();
    demo = nullptr;  // not deleted: its GL objects belong to the lost context
    platform::glfwTerminate();
}

int main() {
#ifdef ISLAND_WEB_THREADS
    // Only for comparison: a page served with cross-origin isolation can read
    // the assets ahead on workers, as the desktop program does.
    std::unique_ptr<AssetPrefetch> assets = startReadingSceneAssets();
#else
    std::unique_ptr<AssetPrefetch> assets;
#endif
    if (!startUp()) return fail();
    demo = new Demo;
    if (!setUpScene(demo->scene, assets.get())) return fail();
    assets.reset();
    demo->loop = std::make_unique<FrameLoop>(demo->scene);
    advanceFlightToHeldClock(*demo->loop);
    // 0 frames per second: the browser's display rate, through requestAnimationFrame.
    emscripten_set_main_loop(runFrame, 0, false);
    return 0;
}
