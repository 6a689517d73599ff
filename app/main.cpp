// island: an interactive OpenGL demo of a small island scene. The program
// takes no arguments; it reads config.cfg and its data from the working
// directory.
#include "app/startup.h"
#include "assets/asset_prefetch.h"
#include "frame/frame_loop.h"
#include "platform/window.h"
#include "scene/scene_setup.h"

int main() {
    // The models and images are read and decoded on worker threads while the
    // window, the context and the programs are made.
    std::unique_ptr<AssetPrefetch> assets = startReadingSceneAssets();
    if (!startUp()) return 1;
    {
        Scene scene;
        if (!setUpScene(scene, assets.get())) return 1;
        assets.reset();
        FrameLoop loop(scene);
        loop.run();
        loop.shutdown();
    }  // the render targets, then the base and the minimal program go away here
    platform::glfwTerminate();
    return 0;
}
