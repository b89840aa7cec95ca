#include "display_settings.h"

#include "gl_entry.h"

#include <SDL.h>
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

bool cDisplaySettings::open_window() {
    Uint32 flags = SDL_WINDOW_OPENGL | (m_fullscreen ? SDL_WINDOW_FULLSCREEN : 0);
    m_window = SDL_CreateWindow("vantrel OpenGL", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                m_screen_width, m_screen_height, flags);
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
    bool opened = open_window();
    if (!opened && m_attributes[MULTISAMPLEBUFFERS]) {
        std::cerr << "## ERROR: Failed to get FSAA-buffer!" << std::endl;
        m_attributes[MULTISAMPLEBUFFERS] = 0;
        m_attributes[MULTISAMPLESAMPLES] = 0;
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 0);
        opened = open_window();
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

    SDL_SetWindowTitle(m_window, "vantrel OpenGL");
    SDL_ShowCursor(0);
}

void cDisplaySettings::set_widescreen() {
    std::cerr << "widescreen, mmm..." << std::endl;
    m_widescreen = true;
}

void cDisplaySettings::viewport_rect(int (&rect)[4]) const {
    rect[0] = 0;
    if (m_widescreen) {
        rect[1] = 0;
        rect[2] = m_render_width;
        rect[3] = m_screen_height;
    } else {
        rect[1] = int(unsigned(m_screen_height - m_render_height) >> 1);
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
