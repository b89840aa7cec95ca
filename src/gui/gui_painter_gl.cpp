#include "gui/gui_painter_gl.h"

#include "display_settings.h"
#include "gl_entry.h"

namespace {
const float kCell = 20.0f; // texels per glyph cell
const float kGlyphWidth = 0.01f;

// Sets the outline's line width, one pixel of the 1024 x 640 picture
// scaled by a whole factor, and gives the old width back after.
class cLineWidth {
public:
    cLineWidth() {
        glGetFloatv(GL_LINE_WIDTH, &m_saved);
        glLineWidth(float(cDisplaySettings::instance()->whole_pixel_scale()));
    }
    ~cLineWidth() { glLineWidth(m_saved); }

private:
    GLfloat m_saved = 1.0f;
};

// The rectangle's corners, counter-clockwise from (x, y), as one primitive.
void draw_rect(GLenum mode, float x, float y, float w, float h, const float (&rgba)[4]) {
    cLineWidth width;
    glColor4fv(rgba);
    glBegin(mode);
    glVertex2f(x, y);
    glVertex2f(x + w, y);
    glVertex2f(x + w, y + h);
    glVertex2f(x, y + h);
    glEnd();
}
} // namespace

void cGuiPainter_GL::fill_rect(float x, float y, float w, float h, const float (&rgba)[4]) {
    draw_rect(GL_POLYGON, x, y, w, h, rgba);
}

void cGuiPainter_GL::outline_rect(float x, float y, float w, float h, const float (&rgba)[4]) {
    draw_rect(GL_LINE_LOOP, x, y, w, h, rgba);
}

void cGuiPainter_GL::line(float x0, float y0, float x1, float y1, const float (&rgba)[4]) {
    cLineWidth width;
    glColor4fv(rgba);
    glBegin(GL_LINES);
    glVertex2f(x0, y0);
    glVertex2f(x1, y1);
    glEnd();
}

bool cGuiPainter_GL::glyph_cell(char c, int* column, int* row) {
    if (c >= '0' && c <= '9') {
        *column = c - '0';
        *row = 1;
    } else if (c >= 'a' && c <= 'z') {
        *column = 10 + (c - 'a');
        *row = 1;
    } else if (c >= 'A' && c <= 'Z') {
        *column = 10 + (c - 'A');
        *row = 0;
    } else {
        *row = 0;
        switch (c) {
        case '-':
            *column = 3;
            break;
        case '.':
            *column = 4;
            break;
        case ',':
            *column = 6;
            break;
        case ':':
            *column = 7;
            break;
        case '(':
            *column = 8;
            break;
        case ')':
            *column = 9;
            break;
        default:
            return false;
        }
    }
    return true;
}

void cGuiPainter_GL::text(float x, float y, const std::string& text, const std::string& font_name,
                          const float (&rgba)[4]) {
    auto found = m_fonts.find(font_name);
    if (found == m_fonts.end())
        found = m_fonts
                    .emplace(font_name,
                             cTextureManager::instance()->get_texture(font_name, false, GL_CLAMP))
                    .first;
    const cTexProxy& font = found->second;
    // Cells are addressed in texels; a power-of-two font is a 2D texture with
    // coordinates from 0 to 1 instead.
    float s_scale = 1.0f, t_scale = 1.0f;
    if (font.get_textarget() == GL_TEXTURE_2D && font.get_width() > 0 && font.get_height() > 0) {
        s_scale = 1.0f / float(font.get_width());
        t_scale = 1.0f / float(font.get_height());
    }
    // A glyph is as many pixels wide as at 1024 x 640 times a whole
    // factor, so that the bitmap font stays crisp on larger pictures.
    const cDisplaySettings* settings = cDisplaySettings::instance();
    const float width = kGlyphWidth * float(settings->whole_pixel_scale()) *
                        (1024.0f / float(settings->m_render_width));
    const float height = width * float(settings->m_render_width) /
                         float(settings->m_render_height); // square on screen

    glPushAttrib(GL_ENABLE_BIT);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_RECTANGLE_ARB);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    font.bind();
    font.enable();
    glColor4fv(rgba);
    glBegin(GL_QUADS);
    for (std::size_t i = 0; i < text.size(); ++i) {
        int column = 0, row = 0;
        if (!glyph_cell(text[i], &column, &row))
            continue;
        const float left = x + width * float(i);
        const float s0 = float(column) * kCell * s_scale, t0 = float(row) * kCell * t_scale;
        const float s1 = s0 + kCell * s_scale, t1 = t0 + kCell * t_scale;
        glTexCoord2f(s0, t0);
        glVertex2f(left, y);
        glTexCoord2f(s1, t0);
        glVertex2f(left + width, y);
        glTexCoord2f(s1, t1);
        glVertex2f(left + width, y + height);
        glTexCoord2f(s0, t1);
        glVertex2f(left, y + height);
    }
    glEnd();
    font.unbind();
    font.disable();
    glPopAttrib();
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}
