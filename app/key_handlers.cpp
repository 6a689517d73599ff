// Placeholder until the key handlers land.
#include "app/key_handlers.h"

void handleKeys(FrameLoopState&, Scene&) {}
