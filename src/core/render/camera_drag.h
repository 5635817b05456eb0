#pragma once
// The camera drags of the 3D pane: orbit and zoom, look around and dolly,
// field of view and light. Each move arrives as the pointer's offset from the
// press point (the pointer is warped back there after every move).
#include "model/vec3.h"

namespace tarn {

struct CameraPose {
    Vec3f eye{100.0f, 0.0f, 0.0f};
    Vec3f lookAt{0.0f, 0.0f, 0.0f};
    float fieldOfView = 33.0f;  // degrees
};

enum class CameraDragKind {
    OrbitZoom = 100,       // left button
    LookAroundDolly = 101, // right button
    FieldOfView = 102,     // Shift + left
    Light = 103,           // Shift + right
};

class CameraDrag {
public:
    static constexpr float kMinFieldOfView = 1.0f;
    static constexpr float kMaxFieldOfView = 120.0f;

    // Takes the orbit angles from the pose as the drag starts.
    void begin(CameraDragKind kind, const CameraPose& pose);

    // One move by (dx, dy) pixels from the press point; `otherButton` is true
    // while the second button is held too (zoom during an orbit, dolly during
    // a look-around).
    void move(int dx, int dy, bool otherButton, CameraPose& pose, Vec3f& light);

    CameraDragKind kind() const { return kind_; }
    float yaw() const { return yaw_; }
    float pitch() const { return pitch_; }
    int upSign() const { return upSign_; }

private:
    CameraDragKind kind_ = CameraDragKind::OrbitZoom;
    float yaw_ = 0.0f;    // degrees
    float pitch_ = 0.0f;  // degrees
    int upSign_ = 1;
};

// Turns the eye about the vertical through the look-at point by whole wheel
// notches of 11.25 degrees, counter-clockwise seen from above for a positive delta.
void rotateByWheel(CameraPose& pose, int delta);

}  // namespace tarn
