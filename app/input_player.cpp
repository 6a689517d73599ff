// Placeholder until playback lands.
#include "app/input_player.h"

void InputPlayer::startPlaying() { finished = true; }
void InputPlayer::stopPlaying() {}
bool InputPlayer::readNextItem() { return false; }
