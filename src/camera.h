// A scene's viewpoint: perspective projection and look-at placement.
#pragma once

#include "math/vec3.h"

class cCameraPath;

class cCamera {
public:
    cCamera();

    // Loads the projection and model-view matrices for this camera.
    void apply() const;
    // Takes eye, target and up from the path at t, then applies.
    void apply_on_path(const cCameraPath& path, float t);

    Vec3f m_eye{1.0f, 1.0f, 1.0f};
    Vec3f m_center{0.0f, 0.0f, 0.0f};
    Vec3f m_up{0.0f, 0.0f, 1.0f};
    float m_fov = 65.0f; // vertical, degrees
    float m_near = 0.1f;
    float m_far = 500.0f;
    float m_aspect; // render width / render height
};
