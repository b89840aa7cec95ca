#include "camera.h"

#include "display_settings.h"
#include "gl_entry.h"
#include "mesh_files/camera_path.h"

cCamera::cCamera() : m_aspect(cDisplaySettings::instance()->render_aspect()) {}

void cCamera::apply() const {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(m_fov, m_aspect, m_near, m_far);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(m_eye.x, m_eye.y, m_eye.z, m_center.x, m_center.y, m_center.z, m_up.x, m_up.y,
              m_up.z);
}

void cCamera::apply_on_path(const cCameraPath& path, float t) {
    m_eye = path.eye_at(t);
    m_center = path.target_at(t);
    m_up = path.up_at(t);
    apply();
}
