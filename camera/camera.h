// The free-flying first-person camera: yaw and pitch in degrees turned by the
// cursor, an accumulated translation moved by the keys, rebuilt into a view
// matrix once per frame. Every step is per frame; nothing reads the clock.
#pragma once

#include <glm/glm.hpp>

class InputRecorder;

class Camera {
  public:
    Camera();

    // The start view (eye at (0, 20, 41), 20° down) and the mouse-look reference.
    void reset();
    void rotate(float angle, glm::vec3 axis);
    void translate(glm::vec3 v);

    // Live mouse and keys.
    glm::mat4 update();
    // Live input, with the mouse movement and one movement key recorded.
    glm::mat4 updateRecording(InputRecorder& recorder);
    // A supplied key code and mouse movement, plus the live movement keys.
    glm::mat4 updatePlayback(char key, int dx, int dy);

    // Reads the cursor as the reference of the next live turn: the playback
    // update does not read it, so leaving playback mode calls this to keep
    // the cursor's moves made meanwhile from turning the view at once.
    void takeCursorAsReference();

    void setYaw(float degrees) { yaw = degrees; }
    void setPitch(float degrees) { pitch = degrees; }

    glm::mat4 viewMat{1.0f};
    glm::mat4 rotTransMat{1.0f};
    glm::mat4 rotMat{1.0f};
    glm::mat4 transMat{1.0f};
    glm::mat4 baseMat{1.0f};
    int mouseX = 0;
    int mouseY = 0;
    int oldMouseX = 0;
    int oldMouseY = 0;
    float yaw = 0.0f;
    float pitch = 0.0f;
    float mouseSensitivity = 0.3f;
    float moveSpeed = 0.3f;

  private:
    enum class Movement { Left, Right, Forward, Backward, Up, Down };

    // The steps every update shares: clear the per-frame matrices before the
    // input step, rebuild the view from the angles after it.
    void beginUpdate();
    glm::mat4 finishUpdate();

    // The three input steps.
    void applyLiveInput();
    void applyRecordedInput(InputRecorder& recorder);
    void applyPlaybackInput(char key, int dx, int dy);

    void wrapYaw();
    // Mouse look: dx turns the yaw, dy the pitch, which ends within ±90.
    void turn(int dx, int dy);
    // One movement step of moveSpeed, from the angles as they stand now.
    void step(Movement movement);
};

// The program's one camera.
extern Camera camera;
