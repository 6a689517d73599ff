// Placeholder until recording lands.
#include "app/input_recorder.h"

void InputRecorder::startRecording() { framesSinceLastItem = 0; }
void InputRecorder::countFrame() { ++framesSinceLastItem; }
void InputRecorder::recordKey(char) { framesSinceLastItem = 0; }
void InputRecorder::recordMouse(int, int) { framesSinceLastItem = 0; }
void InputRecorder::stopRecording() {}
