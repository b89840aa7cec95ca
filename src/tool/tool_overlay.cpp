#include "tool/tool_overlay.h"

#include "display_settings.h"
#include "gl_entry.h"
#include "gui/gui_painter.h"
#include "render_fsq.h"
#include "shader_manager_glsl.h"
#include "timecode.h"

#include <sstream>

void cToolOverlay::draw_text_line(const std::string& text) {
    iGuiPainter* painter = gui_painter();
    if (!painter)
        return;
    cShaderManager_GLSL* shaders = cShaderManager_GLSL::instance();
    shaders->push_shader();
    shaders->bind(kNullShader);
    begin_fsq(); // unit-square projection, lighting and depth off, state saved
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_RECTANGLE_ARB);
    glDisable(GL_CULL_FACE);
    glDisable(GL_FOG);
    const float back[4] = {0.0f, 0.0f, 0.0f, 0.6f};
    const float ink[4] = {1.0f, 1.0f, 0.6f, 1.0f};
    painter->fill_rect(0.0f, 0.955f, 0.012f * float(text.size() + 2), 0.045f, back);
    painter->text(0.01f, 0.965f, text, "fontlist.png", ink);
    end_fsq();
    shaders->pop_shader();
}

void cToolOverlay::show_progress(int target_ms, int at_ms) {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    std::ostringstream text;
    text << "seeking " << format_timecode(target_ms) << "  at " << format_timecode(at_ms) << "  "
         << (target_ms > 0 ? 100 * at_ms / target_ms : 100) << "%  Esc cancels";
    draw_text_line(text.str());
    cDisplaySettings::instance()->swap_buffers();
}

void cToolOverlay::count_frame(double now) {
    if (m_since < 0.0)
        m_since = now;
    ++m_frames;
    if (now - m_since >= 0.5) {
        m_fps = m_frames / (now - m_since);
        m_frames = 0;
        m_since = now;
    }
}
