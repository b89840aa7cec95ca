#include "render_fsq.h"

#include "gl_entry.h"

namespace {
GLint g_saved_depth_mask = GL_TRUE;
}

void begin_fsq() {
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glGetIntegerv(GL_DEPTH_WRITEMASK, &g_saved_depth_mask);
    glDepthMask(GL_FALSE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void end_fsq() {
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glDepthMask(GLboolean(g_saved_depth_mask));
    glPopAttrib();
}

void draw_quad(float s, float t) {
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glTexCoord2f(s, 0.0f);
    glVertex3f(1.0f, 0.0f, 0.0f);
    glTexCoord2f(s, t);
    glVertex3f(1.0f, 1.0f, 0.0f);
    glTexCoord2f(0.0f, t);
    glVertex3f(0.0f, 1.0f, 0.0f);
    glEnd();
}

void draw_unit_quad() {
    draw_quad(1.0f, 1.0f);
}
