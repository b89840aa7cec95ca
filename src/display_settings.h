// The window and its GL context, the screen and render sizes, and the
// widescreen choice.
#pragma once

#include <memory>
#include <string>
#include <vector>

struct SDL_Window;
class cRenderTarget_fbo;

// The largest sizes the GL driver holds, as its limits say.
struct sDriverLimits {
    int texture = 0;      // GL_MAX_RECTANGLE_TEXTURE_SIZE (the targets' textures)
    int renderbuffer = 0; // GL_MAX_RENDERBUFFER_SIZE (the targets' depth)
    int viewport[2] = {0, 0};
};

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
    ~cDisplaySettings();

    // Asks for a frame of this size (--size) or of the desktop's (--desktop):
    // the picture becomes the largest 1.6 rectangle in it, and init_sdl
    // checks the driver's limits first. A capture whose frame the desktop
    // cannot hold renders off-screen.
    void set_frame_size(int width, int height);
    void use_desktop_size();
    // The desktop's size, the frame and picture, and the driver's limits:
    // ends the process with status 2 when the size is beyond them. Runs once,
    // before the window opens (init_sdl runs it when nobody did before); a
    // capture runs it before it creates its destination.
    void fit_frame();
    // Opens the window with its GL context; ends the process on failure,
    // with status 2 for a size beyond the driver's limits (no window shown).
    void init_sdl();
    // The off-screen frame, when there is one, becomes the framebuffer
    // that stands for the window; needs the framebuffer entry points and
    // the renderer's traits. A capture on a software rasteriser always
    // draws off-screen, into kOffscreenFrames frames in turn (see
    // next_offscreen_frame).
    void begin_offscreen();
    // How many off-screen frames take turns (0 when drawing into the window).
    int offscreen_frames() const { return int(m_offscreen_frames.size()); }
    // The next off-screen frame in turn becomes the one drawn into. A frame
    // that was drawn stays untouched for the next offscreen_frames() - 1
    // turns: a software rasteriser can finish it, and it can be read back,
    // while the next ones are drawn.
    void next_offscreen_frame();
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
    // The largest picture of aspect 1.6 (both sides multiples of four) in a
    // frame of the given size.
    static void picture_size(int frame_width, int frame_height, int* width, int* height);
    // Empty when the driver holds a frame of this size (its picture's
    // targets, up to twice the picture, and an off-screen frame); otherwise
    // the message, naming the largest size it allows.
    static std::string size_limit_text(int frame_width, int frame_height, bool offscreen,
                                       const sDriverLimits& limits);
    // What is measured in pixels (blur taps, point sizes) is multiplied by
    // this: the picture's height against 640, exactly 1 at 1024 x 640.
    float pixel_scale() const { return float(m_render_height) / 640.0f; }
    // The same as a whole factor, at least 1, for the bitmap font and lines.
    int whole_pixel_scale() const;

    SDL_Window* m_window = nullptr;
    void* m_context = nullptr; // the GL context
    bool m_fullscreen = true;  // a window of the screen size otherwise
    // The framebuffer drawn into: the window's, or the off-screen frame.
    int m_screen_width = 1024;
    int m_screen_height = 768;
    // The frame the picture is laid out in, centred on the screen (the
    // same size but in a full screen at the desktop's size).
    int m_frame_width = 1024;
    int m_frame_height = 768;
    bool m_sized = false;         // a size was asked for
    bool m_desktop = false;       // full screen without a video mode change
    bool m_may_offscreen = false; // a capture: the frame may exceed the desktop
    bool m_offscreen = false;     // rendering into an off-screen frame
    bool m_fitted = false;        // fit_frame() ran
    // Every scene renders at this size (aspect 1.6); without widescreen the
    // picture is letterboxed into the frame, with it stretched over it.
    int m_render_width = 1024;
    int m_render_height = 640;
    int m_screen_bpp = 32;
    bool m_widescreen = false;
    int m_attributes[ATTRIBUTE_COUNT] = {8, 8, 8, 8, 24, 1, 0, 0, 0};

    float render_aspect() const { return float(m_render_width) / float(m_render_height); }

private:
    cDisplaySettings() = default;
    bool open_window(int width, int height);
    void bind_offscreen_frame();
    static constexpr int kOffscreenFrames = 3;
    std::vector<std::unique_ptr<cRenderTarget_fbo>> m_offscreen_frames;
    std::size_t m_offscreen_current = 0;
    static cDisplaySettings* s_instance;
};
