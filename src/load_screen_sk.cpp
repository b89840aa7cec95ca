#include "load_screen_sk.h"

#include "display_settings.h"
#include "gl_entry.h"
#include "render_fsq.h"

namespace {
void unit_square_projection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
} // namespace

cLoadScreen_SK::cLoadScreen_SK() {
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT);
    glGetIntegerv(GL_VIEWPORT, m_saved_viewport);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, m_saved_clear_color);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_RECTANGLE_ARB);
    glDisable(GL_LIGHTING);
    cDisplaySettings::instance()->set_viewport();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

cLoadScreen_SK::~cLoadScreen_SK() {
    glViewport(m_saved_viewport[0], m_saved_viewport[1], m_saved_viewport[2], m_saved_viewport[3]);
    glClearColor(m_saved_clear_color[0], m_saved_clear_color[1], m_saved_clear_color[2],
                 m_saved_clear_color[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPopAttrib();
}

void cLoadScreen_SK::bar_corners(float p, float (&xy)[8]) {
    const float corners[8] = {
        330.0f, 466.0f, 330.0f + 372.0f * p, 466.0f, 360.0f + 372.0f * p, 495.0f, 360.0f, 495.0f};
    for (int i = 0; i < 8; i += 2) {
        xy[i] = corners[i];
        xy[i + 1] = corners[i + 1];
    }
}

void cLoadScreen_SK::progress(float fraction) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    unit_square_projection();
    begin_fsq();
    // After begin_fsq, which sets white: the screen is light grey.
    glColor4f(0.65f, 0.65f, 0.65f, 1.0f);
    draw_unit_quad();
    end_fsq();

    unit_square_projection();
    glColor4f(20.0f / 255.0f, 20.0f / 255.0f, 20.0f / 255.0f, 1.0f);
    float xy[8];
    bar_corners(fraction, xy);
    glBegin(GL_POLYGON);
    for (int i = 0; i < 8; i += 2)
        glVertex3f(xy[i] / 1024.0f, xy[i + 1] / 768.0f, 0.1f);
    glEnd();
    cDisplaySettings::instance()->swap_buffers();
}
