// Screen and render sizes and the widescreen choice.
#pragma once

class cDisplaySettings {
public:
    static cDisplaySettings* instance();
    // Deletes the settings; the next instance() creates fresh ones.
    static void destroy();

    int m_screen_width = 1024;
    int m_screen_height = 768;
    int m_screen_bpp = 32;
    // Every scene renders at this size (aspect 1.6); without widescreen the
    // picture is letterboxed into the screen, with it stretched over it.
    int m_render_width = 1024;
    int m_render_height = 640;
    bool m_widescreen = false;

    float render_aspect() const { return float(m_render_width) / float(m_render_height); }

private:
    cDisplaySettings() = default;
    static cDisplaySettings* s_instance;
};
