#include "display_settings.h"

#include "gl_entry.h"
#include "render_target_fbo.h"
#include "renderer_traits.h"

#include <SDL.h>
#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <sstream>

cDisplaySettings* cDisplaySettings::s_instance = nullptr;

namespace {
const SDL_GLattr kSdlAttributes[cDisplaySettings::ATTRIBUTE_COUNT] = {
    SDL_GL_RED_SIZE,           SDL_GL_GREEN_SIZE,         SDL_GL_BLUE_SIZE,
    SDL_GL_ALPHA_SIZE,         SDL_GL_DEPTH_SIZE,         SDL_GL_DOUBLEBUFFER,
    SDL_GL_MULTISAMPLEBUFFERS, SDL_GL_MULTISAMPLESAMPLES, SDL_GL_STEREO,
};

void attribute_line(std::ostream& out, const char* title, const int (&a)[9]) {
    using D = cDisplaySettings;
    out << title << a[D::RED_SIZE] << "x" << a[D::GREEN_SIZE] << "x" << a[D::BLUE_SIZE] << "x"
        << a[D::ALPHA_SIZE] << "x" << a[D::DEPTH_SIZE] << " "
        << (a[D::DOUBLEBUFFER] ? " doublebuffered " : " singlebuffered ")
        << (a[D::MULTISAMPLEBUFFERS] ? "multisample " : " ") << a[D::MULTISAMPLESAMPLES] << "\n";
}

// The driver's limits, from a hidden window's context made for the purpose:
// a size beyond them must end the program before the real window shows.
bool read_driver_limits(sDriverLimits* limits) {
    SDL_Window* probe =
        SDL_CreateWindow("vantrel OpenGL", 0, 0, 64, 64, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!probe)
        return false;
    SDL_GLContext context = SDL_GL_CreateContext(probe);
    if (!context) {
        SDL_DestroyWindow(probe);
        return false;
    }
    GLint texture = 0, rectangle = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    glGetIntegerv(GL_MAX_RECTANGLE_TEXTURE_SIZE_ARB, &rectangle);
    limits->texture = rectangle > 0 ? rectangle : texture;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE_EXT, &limits->renderbuffer);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, limits->viewport);
    while (glGetError() != GL_NO_ERROR) {
    }
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(probe);
    return limits->texture > 0 && limits->viewport[0] > 0 && limits->viewport[1] > 0;
}
} // namespace

cDisplaySettings* cDisplaySettings::instance() {
    if (!s_instance)
        s_instance = new cDisplaySettings();
    return s_instance;
}

void cDisplaySettings::destroy() {
    delete s_instance;
    s_instance = nullptr;
}

cDisplaySettings::~cDisplaySettings() {
    // Without a context (after SDL_Quit) the frame's GL objects went with
    // it; deleting them then would call into no context.
    if (!SDL_GL_GetCurrentContext())
        for (std::unique_ptr<cRenderTarget_fbo>& frame : m_offscreen_frames)
            (void)frame.release();
}

void cDisplaySettings::set_frame_size(int width, int height) {
    m_sized = true;
    m_frame_width = m_screen_width = width;
    m_frame_height = m_screen_height = height;
    picture_size(width, height, &m_render_width, &m_render_height);
}

void cDisplaySettings::use_desktop_size() {
    m_sized = true;
    m_desktop = true;
}

int cDisplaySettings::whole_pixel_scale() const {
    return std::max(1, int(pixel_scale() + 0.5f));
}

void cDisplaySettings::picture_size(int frame_width, int frame_height, int* width, int* height) {
    // Sides of multiples of four, so that the halved, quartered and
    // eighthed targets keep the picture's aspect.
    int h = std::min(frame_height, frame_width * 5 / 8);
    h -= h % 4;
    int w = std::min(frame_width, (h * 8 + 4) / 5);
    w -= w % 4;
    *width = w;
    *height = h;
}

std::string cDisplaySettings::size_limit_text(int frame_width, int frame_height, bool offscreen,
                                              const sDriverLimits& limits) {
    int w = 0, h = 0;
    picture_size(frame_width, frame_height, &w, &h);
    const int texture =
        limits.renderbuffer > 0 ? std::min(limits.texture, limits.renderbuffer) : limits.texture;
    // The largest target is twice the picture; it is drawn through a
    // viewport of its size.
    const int most_w = std::min(texture, limits.viewport[0]);
    const int most_h = std::min(texture, limits.viewport[1]);
    bool fits = 2 * w <= most_w && 2 * h <= most_h && frame_width <= limits.viewport[0] &&
                frame_height <= limits.viewport[1];
    if (offscreen)
        fits = fits && frame_width <= texture && frame_height <= texture;
    if (fits)
        return std::string();
    int largest_w = 0, largest_h = 0;
    picture_size(most_w / 2, most_h / 2, &largest_w, &largest_h);
    std::ostringstream text;
    text << "a " << frame_width << "x" << frame_height << " frame is more than this driver holds"
         << " (render targets up to " << 2 * w << "x" << 2 * h << ", its limit " << most_w << "x"
         << most_h << "); the largest size it allows is " << largest_w << "x" << largest_h;
    return text.str();
}

void cDisplaySettings::fit_frame() {
    if (m_fitted)
        return;
    m_fitted = true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) < 0) {
        std::cerr << "## ERROR: whoops, SDL failed to init: " << SDL_GetError() << " exiting!"
                  << std::endl;
        std::exit(1);
    }
    SDL_DisplayMode desktop{};
    const bool known = SDL_GetDesktopDisplayMode(0, &desktop) == 0;
    if (m_desktop) {
        if (!known) {
            std::cerr << "## ERROR: cannot read the desktop's size: " << SDL_GetError()
                      << std::endl;
            std::exit(1);
        }
        m_frame_width = desktop.w;
        m_frame_height = desktop.h;
    }
    // A window cannot hold more than the desktop shows; a capture's frame is
    // then drawn off-screen.
    m_offscreen = !m_fullscreen && m_may_offscreen && known &&
                  (m_frame_width > desktop.w || m_frame_height > desktop.h);
    // The size asked for is checked, also where full screen then keeps the
    // frame within the desktop.
    sDriverLimits limits;
    if (read_driver_limits(&limits)) {
        const std::string text =
            size_limit_text(m_frame_width, m_frame_height, m_offscreen, limits);
        if (!text.empty()) {
            std::cerr << "vantrel: " << text << std::endl;
            SDL_Quit();
            std::exit(2);
        }
    } // otherwise the window's own start-up says what is wrong
    m_screen_width = m_frame_width;
    m_screen_height = m_frame_height;
    if (m_fullscreen && known) {
        // Full screen at the desktop's size, the frame in its middle.
        m_frame_width = std::min(m_frame_width, desktop.w);
        m_frame_height = std::min(m_frame_height, desktop.h);
        m_screen_width = desktop.w;
        m_screen_height = desktop.h;
    }
    picture_size(m_frame_width, m_frame_height, &m_render_width, &m_render_height);
}

void cDisplaySettings::begin_offscreen() {
    if (!m_offscreen_frames.empty())
        return;
    // Read back from the window, a software rasteriser's frame waits for
    // every pass of it to be drawn: the program stands idle meanwhile, and
    // the rasteriser's threads while the program sets up the next frame.
    // Off-screen frames taking turns let both go on at once. The window
    // then shows none of them: a copy into it would wait for the frame
    // again, and nobody needs to watch a software capture.
    int frames = m_offscreen ? 1 : 0;
    if (m_may_offscreen && cRendererTraits::instance()->software_rasteriser()) {
        m_offscreen = true;
        frames = kOffscreenFrames;
    }
    for (int k = 0; k < frames; ++k) {
        m_offscreen_frames.emplace_back(
            new cRenderTarget_fbo(unsigned(m_screen_width), unsigned(m_screen_height)));
        m_offscreen_frames.back()->init();
    }
    m_offscreen_current = 0;
    if (m_offscreen)
        bind_offscreen_frame();
}

void cDisplaySettings::next_offscreen_frame() {
    if (m_offscreen_frames.size() < 2)
        return;
    m_offscreen_current = (m_offscreen_current + 1) % m_offscreen_frames.size();
    bind_offscreen_frame();
}

void cDisplaySettings::bind_offscreen_frame() {
    const GLuint framebuffer = m_offscreen_frames[m_offscreen_current]->get_framebuffer();
    cRenderTarget_fbo::set_window_framebuffer(framebuffer);
    ext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glDrawBuffer(GL_COLOR_ATTACHMENT0_EXT);
    glReadBuffer(GL_COLOR_ATTACHMENT0_EXT);
}

bool cDisplaySettings::is_old_sdl_version(int major, int minor, int patch) {
    return major * 1000 + minor * 100 + patch < 1211;
}

std::string cDisplaySettings::attribute_mismatch_text(const int (&requested)[ATTRIBUTE_COUNT],
                                                      const int (&received)[ATTRIBUTE_COUNT]) {
    for (int i = 0; i < ATTRIBUTE_COUNT; ++i) {
        if (requested[i] == received[i])
            continue;
        std::ostringstream text;
        text << "# warning: init_sdl: SDL display attribute " << i << " failed\n";
        attribute_line(text, "requested: ", requested);
        attribute_line(text, "recieved: ", received);
        text << "---------------------\n";
        return text.str();
    }
    return std::string();
}

void cDisplaySettings::set_gl_attributes() {
    for (int i = 0; i < ATTRIBUTE_COUNT; ++i)
        SDL_GL_SetAttribute(kSdlAttributes[i], m_attributes[i]);
    // The renderer uses the fixed-function pipeline: never a core profile.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

bool cDisplaySettings::open_window(int width, int height) {
    // A size asked for never switches the video mode: full screen is then
    // a window over the desktop at the desktop's size.
    const Uint32 fullscreen = m_sized ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_FULLSCREEN;
    Uint32 flags = SDL_WINDOW_OPENGL | (m_fullscreen ? fullscreen : 0);
    m_window = SDL_CreateWindow("vantrel OpenGL", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                width, height, flags);
    if (!m_window)
        return false;
    m_context = SDL_GL_CreateContext(m_window);
    if (!m_context) {
        SDL_DestroyWindow(m_window);
        m_window = nullptr;
        return false;
    }
    return true;
}

void cDisplaySettings::init_sdl() {
    SDL_version linked;
    SDL_GetVersion(&linked);
    if (is_old_sdl_version(linked.major, linked.minor, linked.patch))
        std::cerr << "# WARNING: init_sdl(): Old SDL-version detected. Get an upgrade from "
                  << "https://www.libsdl.org/" << std::endl;

    // Audio is started by the music module itself, so that a machine without
    // sound output can still open the window (and capture the show).
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) < 0) {
        std::cerr << "## ERROR: whoops, SDL failed to init: " << SDL_GetError() << " exiting!"
                  << std::endl;
        std::exit(1);
    }
    set_gl_attributes();
    if (m_sized)
        fit_frame();
    // An off-screen frame keeps a small window for the context.
    const int window_width = m_offscreen ? std::min(m_screen_width, 1024) : m_screen_width;
    const int window_height = m_offscreen ? std::min(m_screen_height, 768) : m_screen_height;
    bool opened = open_window(window_width, window_height);
    if (!opened && m_attributes[MULTISAMPLEBUFFERS]) {
        std::cerr << "## ERROR: Failed to get FSAA-buffer!" << std::endl;
        m_attributes[MULTISAMPLEBUFFERS] = 0;
        m_attributes[MULTISAMPLESAMPLES] = 0;
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 0);
        opened = open_window(window_width, window_height);
    }
    if (!opened) {
        std::cerr << "## ERROR: whoops, SDL didn't get screen - exiting" << std::endl;
        std::exit(-1);
    }

    int received[ATTRIBUTE_COUNT];
    for (int i = 0; i < ATTRIBUTE_COUNT; ++i) {
        received[i] = 0;
        SDL_GL_GetAttribute(kSdlAttributes[i], &received[i]);
    }
    std::cerr << attribute_mismatch_text(m_attributes, received) << std::flush;
    if (m_sized && m_fullscreen) {
        // The desktop as the window system gives it; the frame stays in it.
        SDL_GL_GetDrawableSize(m_window, &m_screen_width, &m_screen_height);
        m_frame_width = std::min(m_frame_width, m_screen_width);
        m_frame_height = std::min(m_frame_height, m_screen_height);
        picture_size(m_frame_width, m_frame_height, &m_render_width, &m_render_height);
    }

    SDL_SetWindowTitle(m_window, "vantrel OpenGL");
    SDL_ShowCursor(0);
}

void cDisplaySettings::set_widescreen() {
    std::cerr << "widescreen, mmm..." << std::endl;
    m_widescreen = true;
}

void cDisplaySettings::viewport_rect(int (&rect)[4]) const {
    // The frame in the middle of the screen; the picture stretched over it,
    // or in its middle between bars.
    const int frame_x = (m_screen_width - m_frame_width) / 2;
    const int frame_y = (m_screen_height - m_frame_height) / 2;
    if (m_widescreen) {
        rect[0] = frame_x;
        rect[1] = frame_y;
        rect[2] = m_frame_width;
        rect[3] = m_frame_height;
    } else {
        rect[0] = frame_x + (m_frame_width - m_render_width) / 2;
        rect[1] = frame_y + (m_frame_height - m_render_height) / 2;
        rect[2] = m_render_width;
        rect[3] = m_render_height;
    }
}

void cDisplaySettings::set_viewport() {
    int rect[4];
    viewport_rect(rect);
    std::cerr << rect[1] << " " << rect[2] << " " << rect[3] << std::endl;
    glViewport(rect[0], rect[1], rect[2], rect[3]);
}

void cDisplaySettings::swap_buffers() {
    if (m_window)
        SDL_GL_SwapWindow(m_window);
}
