// The window and its GL context, the screen and render sizes, and the
// widescreen choice.
#pragma once

#include <string>

struct SDL_Window;

class cDisplaySettings {
public:
    // The GL framebuffer attributes requested at start-up, in this order.
    enum eAttribute {
        RED_SIZE,
        GREEN_SIZE,
        BLUE_SIZE,
        ALPHA_SIZE,
        DEPTH_SIZE,
        DOUBLEBUFFER,
        MULTISAMPLEBUFFERS,
        MULTISAMPLESAMPLES,
        STEREO,
        ATTRIBUTE_COUNT
    };

    static cDisplaySettings* instance();
    // Deletes the settings; the next instance() creates fresh ones.
    static void destroy();

    // Opens the window with its GL context; ends the process on failure.
    void init_sdl();
    void set_gl_attributes();
    void set_widescreen();
    // Letterboxed band or the full screen; see the members below.
    void set_viewport();
    void swap_buffers();

    // The lines written when the delivered attributes differ from the
    // requested ones (empty when they are the same).
    static std::string attribute_mismatch_text(const int (&requested)[ATTRIBUTE_COUNT],
                                               const int (&received)[ATTRIBUTE_COUNT]);
    // True when a linked SDL of this version should be upgraded.
    static bool is_old_sdl_version(int major, int minor, int patch);
    // The viewport for the current settings: x, y, width, height.
    void viewport_rect(int (&rect)[4]) const;

    SDL_Window* m_window = nullptr;
    void* m_context = nullptr; // the GL context
    bool m_fullscreen = true;  // a window of the screen size otherwise
    int m_screen_width = 1024;
    int m_screen_height = 768;
    // Every scene renders at this size (aspect 1.6); without widescreen the
    // picture is letterboxed into the screen, with it stretched over it.
    int m_render_width = 1024;
    int m_render_height = 640;
    int m_screen_bpp = 32;
    bool m_widescreen = false;
    int m_attributes[ATTRIBUTE_COUNT] = {8, 8, 8, 8, 24, 1, 0, 0, 0};

    float render_aspect() const { return float(m_render_width) / float(m_render_height); }

private:
    cDisplaySettings() = default;
    bool open_window();
    static cDisplaySettings* s_instance;
};
