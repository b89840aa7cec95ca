#include "gl_setup.h"

#include "display_settings.h"
#include "gl_entry.h"
#include "platform/message_box.h"
#include "renderer_traits.h"

#include <IL/il.h>
#include <IL/ilu.h>
#include <IL/ilut.h>
#include <SDL.h>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace {
void load_entry_points(const ext::sEntryPoint* table) {
    for (; table->name; ++table) {
        *table->slot = SDL_GL_GetProcAddress(table->name);
        if (!*table->slot && table->reported)
            std::cerr << table->name << " not initialized" << std::endl;
    }
}

// Only warned about when missing, in this order.
struct sOptionalExtension {
    const char* name;
    const char* warning;
};
const sOptionalExtension kOptionalBeforeRectangle[] = {
    {"GL_SGIS_texture_lod", "# WARNING: GL_SGIS_texture_lod not supported"},
    {"GL_SGIS_generate_mipmap", "# WARNING: GL_SGIS_generate_mipmap not supported"},
    {"GL_ARB_texture_env_add", "# WARNING: GL_ARB_texture_env_add not supported"},
    {"GL_EXT_texture_lod_bias", "# WARNING: EXT_texture_lod_bias not supported"},
    {"GL_ARB_texture_float", "# WARNING: GL_ARB_texture_float not supported"},
};
const sOptionalExtension kOptionalAfterRectangle[] = {
    {"GL_ARB_multisample", "# WARNING: GL_ARB_multisample not supported"},
    {"GL_ARB_texture_non_power_of_two",
     "# WARNING: GL_ARB_texture_non_power_of_two not supported!"},
    {"GL_ARB_pixel_buffer_object",
     "# WARNING: \tGL_ARB_pixel_buffer_object not supported! (go bug your hardware-vendor)"},
    {"GL_ARB_point_sprite",
     "# WARNING: \tGL_ARB_point_sprite not supported! (go bug your hardware-vendor)"},
};

void set_fixed_state() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glAlphaFunc(GL_ALWAYS, 0.0f);
    glEnable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glDepthFunc(GL_LESS);
    glEnable(GL_DEPTH_TEST);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glShadeModel(GL_SMOOTH);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_MULTISAMPLE_ARB);
    if (ext::glActiveTextureARB)
        ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    glEnable(GL_LIGHTING);
    const GLfloat ambient[4] = {0.1f, 0.1f, 0.1f, 0.1f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_TRUE);
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    glEnable(GL_COLOR_SUM);
    glDisable(GL_COLOR_MATERIAL);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
} // namespace

bool has_extension_in(const char* extensions, const char* name) {
    if (!extensions || !name || !*name)
        return false;
    const std::size_t length = std::strlen(name);
    const char* word = extensions;
    while (*word) {
        const char* end = std::strchr(word, ' ');
        std::size_t word_length = end ? std::size_t(end - word) : std::strlen(word);
        if (word_length == length && std::strncmp(word, name, length) == 0)
            return true;
        if (!end)
            break;
        word = end + 1;
    }
    return false;
}

bool has_extension(const char* name) {
    return has_extension_in(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), name);
}

void init_gl() {
    init_gl_with(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)));
}

void init_gl_with(const char* extensions) {
    if (!has_extension_in(extensions, "GL_ARB_vertex_buffer_object")) {
        std::cerr << "# WARNING: GL_ARB_vertex_buffer_object not supported" << std::endl;
        SDL_Quit();
        platform::message_box("GL_ARB_vertex_buffer_object is missing\n(you probably need newer "
                              "hardware)",
                              "missing gl-extension", platform::MESSAGE_OK);
        std::exit(1);
    }
    load_entry_points(ext::kVertexBufferEntryPoints);

    if (!has_extension_in(extensions, "GL_ARB_multitexture")) {
        std::cerr << "# WARNING: GL_ARB_multitexture not supported" << std::endl;
        std::exit(-1);
    }
    load_entry_points(ext::kMultitextureEntryPoints);

    if (!has_extension_in(extensions, "GL_EXT_framebuffer_object")) {
        std::cerr << "# WARNING: GL_EXT_framebuffer_object not supported" << std::endl;
        SDL_Quit();
        platform::message_box(
            "GL_EXT_framebuffer_object is missing\n(you probably just need a driver-update...)",
            "vrk::slw - missing gl-extension", platform::MESSAGE_OK);
        std::exit(1);
    }
    if (!has_extension_in(extensions, "GL_ARB_draw_buffers"))
        std::cerr << "# WARNING: GL_ARB_draw_buffers not supported" << std::endl;
    load_entry_points(ext::kFramebufferEntryPoints);

    for (const sOptionalExtension& optional : kOptionalBeforeRectangle)
        if (!has_extension_in(extensions, optional.name))
            std::cerr << optional.warning << std::endl;
    if (!has_extension_in(extensions, "GL_ARB_texture_rectangle")) {
        std::cerr << "# WARNING: GL_ARB_texture_rectangle not supported" << std::endl;
        if (!has_extension_in(extensions, "GL_EXT_texture_rectangle"))
            std::cerr << "# WARNING: GL_EXT_texture_rectangle not supported" << std::endl;
        else
            std::cerr << "GL_EXT_texture_rectangle supported though" << std::endl;
    }
    for (const sOptionalExtension& optional : kOptionalAfterRectangle)
        if (!has_extension_in(extensions, optional.name))
            std::cerr << optional.warning << std::endl;
    load_entry_points(ext::kOtherEntryPoints);

    set_fixed_state();
    cRendererTraits::instance()->decide(reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                                        std::getenv("VANTREL_RASTERISER"));
    cDisplaySettings::instance()->begin_offscreen();
    cDisplaySettings::instance()->set_viewport();
    report_gl_error("init_gl");
}

namespace {
// A global rather than a function's static, so that it is still there when
// the exit handler waits for the capture's writing thread.
std::recursive_mutex g_image_library_lock;
} // namespace

std::recursive_mutex& image_library_lock() {
    return g_image_library_lock;
}

bool image_library_versions_ok(int il, int ilu, int ilut) {
    return il >= 167 && ilu >= 167 && ilut >= 167;
}

void init_images() {
    if (!image_library_versions_ok(ilGetInteger(IL_VERSION_NUM), iluGetInteger(ILU_VERSION_NUM),
                                   ilutGetInteger(ILUT_VERSION_NUM))) {
        std::cerr << "ilut version different - exiting" << std::endl;
        std::exit(-1);
    }
    ilInit();
    iluInit();
    // The image library's GL start-up switches texturing on; the pipeline
    // state set by init_gl stays as it was.
    glPushAttrib(GL_ENABLE_BIT);
    const ILboolean renderer_ok = ilutRenderer(ILUT_OPENGL);
    glPopAttrib();
    if (!renderer_ok) {
        std::cerr << "openILUT failed to initialize a render" << std::endl;
        std::exit(-1);
    }
    ilOriginFunc(IL_ORIGIN_LOWER_LEFT);
    ilEnable(IL_ORIGIN_SET);
}

bool report_gl_error(std::string location) {
    GLenum code = glGetError();
    if (code == GL_NO_ERROR)
        return false;
    std::cerr << "## ERROR: OpenGL ";
    if (!location.empty())
        std::cerr << " " << location;
    const GLubyte* text = gluErrorString(code);
    std::cerr << ": " << (text ? reinterpret_cast<const char*>(text) : "unknown error")
              << std::endl;
    return true;
}

bool report_il_error() {
    std::lock_guard<std::recursive_mutex> lock(image_library_lock());
    bool reported = false;
    for (ILenum code = ilGetError(); code != IL_NO_ERROR; code = ilGetError()) {
        const char* text = iluErrorString(code);
        std::cerr << "## ERROR: OpenIL Error " << unsigned(code) << ": " << (text ? text : "")
                  << std::endl;
        reported = true;
    }
    return reported;
}
