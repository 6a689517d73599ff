// Placeholder until the camera lands: a fixed start view.
#include "camera/camera.h"

#include <glm/gtc/matrix_transform.hpp>

Camera camera;

Camera::Camera() = default;

void Camera::reset() {
    baseMat = glm::lookAt(glm::vec3(0, 0, 1), glm::vec3(0, 0, 0), glm::vec3(0, 1, 0));
    transMat = glm::translate(glm::mat4(1.0f), glm::vec3(0, -20, -40));
    pitch = 20.0f;
}

void Camera::rotate(float angle, glm::vec3 axis) {
    rotMat = rotMat * glm::rotate(glm::mat4(1.0f), glm::radians(angle), axis);
}

void Camera::translate(glm::vec3 v) { transMat = transMat * glm::translate(glm::mat4(1.0f), v); }

glm::mat4 Camera::update() {
    rotMat = glm::mat4(1.0f);
    rotate(pitch, glm::vec3(1, 0, 0));
    rotate(yaw, glm::vec3(0, 1, 0));
    viewMat = rotMat * transMat * baseMat;
    return viewMat;
}

glm::mat4 Camera::updateRecording(InputRecorder&) { return update(); }

glm::mat4 Camera::updatePlayback(char, int, int) { return update(); }
