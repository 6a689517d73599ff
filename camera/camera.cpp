// The camera keeps two angles and an accumulated translation and rebuilds
// view = R_x(pitch) · R_y(yaw) · translate(t) · baseMat every frame. All
// arithmetic is single precision, so a recorded run replays bit for bit.
#include "camera/camera.h"

#include <algorithm>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <string>

#include "input/input_recorder.h"
#include "platform/console.h"
#include "platform/window.h"

Camera camera;

namespace {

// Degrees to radians for the movement steps: the single-precision constant
// one step below the float nearest to 180/π.
constexpr float kDegreesPerRadian = 57.295776f;

constexpr float kNormalSpeed = 0.3f;
constexpr float kFastSpeed = 3.2f;

bool held(int key) { return platform::glfwGetKey(key) == platform::GLFW_PRESS; }

}  // namespace

Camera::Camera() = default;

void Camera::reset() {
    viewMat = glm::mat4(1.0f);
    rotMat = glm::mat4(1.0f);
    transMat = glm::mat4(1.0f);
    // A translation by (0, 0, -1): the eye one unit in front of the origin.
    baseMat = glm::lookAt(glm::vec3(0.0f, 0.0f, 1.0f), glm::vec3(0.0f, 0.0f, 0.0f),
                          glm::vec3(0.0f, 1.0f, 0.0f));
    platform::glfwGetMousePos(&mouseX, &mouseY);
    platform::printLine("mousex at reset = " + std::to_string(mouseX));
    oldMouseX = mouseX;
    oldMouseY = mouseY;
    translate(glm::vec3(0.0f, -20.0f, -40.0f));
    pitch = 20.0f;
}

void Camera::rotate(float angle, glm::vec3 axis) {
    rotMat = glm::rotate(rotMat, glm::radians(angle), axis);
}

void Camera::translate(glm::vec3 v) { transMat = glm::translate(transMat, v); }

void Camera::takeCursorAsReference() {
    platform::glfwGetMousePos(&mouseX, &mouseY);
    oldMouseX = mouseX;
    oldMouseY = mouseY;
}

glm::mat4 Camera::update() {
    beginUpdate();
    applyLiveInput();
    return finishUpdate();
}

glm::mat4 Camera::updateRecording(InputRecorder& recorder) {
    beginUpdate();
    applyRecordedInput(recorder);
    return finishUpdate();
}

glm::mat4 Camera::updatePlayback(char key, int dx, int dy) {
    beginUpdate();
    applyPlaybackInput(key, dx, dy);
    return finishUpdate();
}

void Camera::beginUpdate() {
    rotMat = glm::mat4(1.0f);
    viewMat = glm::mat4(1.0f);
    rotTransMat = glm::mat4(1.0f);
}

glm::mat4 Camera::finishUpdate() {
    rotate(pitch, glm::vec3(1.0f, 0.0f, 0.0f));
    rotate(yaw, glm::vec3(0.0f, 1.0f, 0.0f));
    rotTransMat = rotTransMat * rotMat;
    rotTransMat = rotTransMat * transMat;
    viewMat = rotTransMat * baseMat;
    return viewMat;
}

// The wrap runs before the frame's turn is added, so yaw may lie outside
// ±360 by one frame's turn until the next update.
void Camera::wrapYaw() {
    if (yaw > 360.0f) yaw -= 360.0f;
    if (yaw < -360.0f) yaw += 360.0f;
}

// The pitch is clamped after every step, so no fast flick (and no pitch set
// from outside) can tip the view over: past ±90 the world turns upside down.
void Camera::turn(int dx, int dy) {
    yaw += static_cast<float>(dx) * mouseSensitivity;
    pitch = std::clamp(pitch + static_cast<float>(dy) * mouseSensitivity, -90.0f, 90.0f);
}

void Camera::step(Movement movement) {
    const float y = yaw / kDegreesPerRadian;
    const float p = pitch / kDegreesPerRadian;
    switch (movement) {
        case Movement::Left:
            translate(moveSpeed * glm::vec3(std::cos(y), 0.0f, std::sin(y)));
            break;
        case Movement::Right:
            translate(moveSpeed * glm::vec3(-std::cos(y), 0.0f, -std::sin(y)));
            break;
        case Movement::Forward:
            // Not normalised: the horizontal part has length moveSpeed at any pitch.
            translate(moveSpeed * glm::vec3(-std::sin(y), std::sin(p), std::cos(y)));
            break;
        case Movement::Backward:
            translate(moveSpeed * glm::vec3(std::sin(y), -std::sin(p), -std::cos(y)));
            break;
        case Movement::Up:
            translate(glm::vec3(0.0f, -moveSpeed, 0.0f));
            break;
        case Movement::Down:
            translate(glm::vec3(0.0f, moveSpeed, 0.0f));
            break;
    }
}

void Camera::applyLiveInput() {
    platform::glfwGetMousePos(&mouseX, &mouseY);
    wrapYaw();
    turn(mouseX - oldMouseX, mouseY - oldMouseY);
    oldMouseX = mouseX;
    oldMouseY = mouseY;
    moveSpeed = held(platform::GLFW_KEY_LSHIFT) ? kFastSpeed : kNormalSpeed;
    // Each key independently: several may act in one frame.
    if (held('A')) step(Movement::Left);
    if (held('D')) step(Movement::Right);
    if (held('W')) step(Movement::Forward);
    if (held('S')) step(Movement::Backward);
    if (held(platform::GLFW_KEY_SPACE)) step(Movement::Up);
    if (held('B')) step(Movement::Down);
}

void Camera::applyRecordedInput(InputRecorder& recorder) {
    platform::glfwGetMousePos(&mouseX, &mouseY);
    wrapYaw();
    if (mouseX != oldMouseX || mouseY != oldMouseY) {
        recorder.recordMouse(mouseX - oldMouseX, mouseY - oldMouseY);
    }
    turn(mouseX - oldMouseX, mouseY - oldMouseY);
    oldMouseX = mouseX;
    oldMouseY = mouseY;
    // Left Shift is not polled: a recording holds one speed per run of keys.
    // Only the first held key acts, so that one key item describes the frame.
    if (held('A')) {
        step(Movement::Left);
        recorder.recordKey('A');
    } else if (held('D')) {
        step(Movement::Right);
        recorder.recordKey('D');
    } else if (held('W')) {
        step(Movement::Forward);
        recorder.recordKey('W');
    } else if (held('S')) {
        step(Movement::Backward);
        recorder.recordKey('S');
    } else if (held(platform::GLFW_KEY_SPACE)) {
        step(Movement::Up);
        recorder.recordKey('N');  // the space bar is recorded as 'N'
    } else if (held('B')) {
        step(Movement::Down);
        recorder.recordKey('B');
    }
}

void Camera::applyPlaybackInput(char key, int dx, int dy) {
    // The cursor is not read: the supplied movement stands for it.
    wrapYaw();
    turn(dx, dy);
    oldMouseX = mouseX;
    oldMouseY = mouseY;
    // The supplied key or a live key; only the first match acts.
    if (key == 'A' || held('A')) {
        step(Movement::Left);
    } else if (key == 'D' || held('D')) {
        step(Movement::Right);
    } else if (key == 'W' || held('W')) {
        step(Movement::Forward);
    } else if (key == 'S' || held('S')) {
        step(Movement::Backward);
    } else if (key == 'N' || held(platform::GLFW_KEY_SPACE)) {
        step(Movement::Up);
    } else if (key == 'B' || held('B')) {
        step(Movement::Down);
    }
}
