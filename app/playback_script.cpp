// Placeholder until the playback script lands.
#include "app/playback_script.h"

void stepPlaybackScript(Scene&) {}
