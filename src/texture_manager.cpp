#include "texture_manager.h"

#include "debug.h"
#include "gl_entry.h"
#include "gl_setup.h"
#include "image_header.h"
#include "read_file.h"
#include "resource_path.h"

#include <IL/il.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

namespace {
cTextureManager* g_instance = nullptr;

const char* source_name() {
    const char* slash = std::strrchr(__FILE__, '/');
    return slash ? slash + 1 : __FILE__;
}

[[noreturn]] void fail_load(int line, const std::string& what) {
    std::cerr << "## ERROR: in " << source_name() << " line " << line << ": " << what << std::endl;
    std::exit(-1);
}

bool is_power_of_two(int x) {
    return (x & (x - 1)) == 0;
}

// GL takes the pixels as 8-bit channels in the image's own layout. DevIL
// hands out palette images as indices and 16-bit or float images as wider
// channels; GL would read those as something else, so they are turned into
// plain 8-bit colour first.
void make_uploadable(ILint format) {
    if (format == IL_COLOUR_INDEX)
        ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE);
    else if (ilGetInteger(IL_IMAGE_TYPE) != IL_UNSIGNED_BYTE)
        ilConvertImage(format, IL_UNSIGNED_BYTE);
}
} // namespace

void cTexProxy::enable() const {
    VT_ASSERT(isValid());
    glEnable(m_target);
}

void cTexProxy::disable() const {
    VT_ASSERT(isValid());
    glDisable(m_target);
}

void cTexProxy::bind() const {
    VT_ASSERT(isValid());
    glBindTexture(m_target, m_id);
}

void cTexProxy::unbind() const {
    VT_ASSERT(isValid());
    glBindTexture(m_target, 0);
}

cTextureManager* cTextureManager::instance() {
    if (!g_instance)
        g_instance = new cTextureManager();
    return g_instance;
}

void cTextureManager::destroy() {
    delete g_instance;
    g_instance = nullptr;
}

cTextureManager::~cTextureManager() {
    for (auto& entry : m_textures) {
        ILuint il_image = entry.second.il_image;
        ilDeleteImages(1, &il_image);
        // A record that was never uploaded deletes name 0, which GL ignores.
        glDeleteTextures(1, &entry.second.gl_texture);
    }
    m_textures.clear();
}

GLenum cTextureManager::texture_target_for(int width, int height, bool& mipmap) {
    if (height == 1)
        return GL_TEXTURE_1D;
    if (is_power_of_two(width) && is_power_of_two(height))
        return GL_TEXTURE_2D;
    mipmap = false;
    return GL_TEXTURE_RECTANGLE_ARB;
}

cTexProxy cTextureManager::get_texture(std::string name, bool mipmap, GLenum wrap) {
    auto found = m_textures.find(name);
    std::string path;
    std::vector<unsigned char> bytes;
    sImageHeader header;
    if (found == m_textures.end()) {
        path = cResourcePath::instance()->get_fullpath(name);
        if (path.empty())
            fail_load(__LINE__, "file was not found in path: \"" + name + "\"");
        if (!read_file(path, &bytes))
            fail_load(__LINE__, "unable to open file " + path);
        // The image library sizes its buffers by the header: a header that
        // claims more than the file can hold must not reach it.
        std::string what;
        if (!check_image_header(bytes.data(), bytes.size(), &header, &what)) {
            std::cerr << "## ERROR: " << path << ": " << what << " in cTextureManager::get_texture"
                      << std::endl;
            std::exit(1);
        }
    }
    // Taken after the checks above, which may end the program.
    std::lock_guard<std::recursive_mutex> lock(image_library_lock());
    if (found == m_textures.end()) {
        ILuint il_imgno = 0;
        ilGenImages(1, &il_imgno);
        VT_ASSERT(il_imgno);
        ilBindImage(il_imgno);
        // Decoded as the format its header shows, whatever the file's name
        // says. A file DevIL cannot decode is named here and its errors are
        // reported by report_il_error below; the show goes on with what the
        // library made of it (its size and pixel buffer still agree).
        if (!ilLoad(header.m_format == eImageFormat::PNG ? IL_PNG : IL_JPG, path.c_str()))
            std::cerr << "## ERROR: " << path << ": the image cannot be decoded in "
                      << "cTextureManager::get_texture" << std::endl;
        found = m_textures.emplace(name, sTexRecord{il_imgno, 0}).first;
    }
    sTexRecord& record = found->second;

    ilBindImage(record.il_image);
    const ILint width = ilGetInteger(IL_IMAGE_WIDTH);
    const ILint height = ilGetInteger(IL_IMAGE_HEIGHT);
    const GLenum textarget = texture_target_for(width, height, mipmap);

    if (record.gl_texture != 0)
        return cTexProxy(textarget, record.gl_texture, width, height);

    glGenTextures(1, &record.gl_texture);
    make_uploadable(ilGetInteger(IL_IMAGE_FORMAT));
    // DevIL's format values are GL's pixel formats.
    const GLenum format = GLenum(ilGetInteger(IL_IMAGE_FORMAT));
    const ILubyte* tmp_img_data = ilGetData();
    VT_ASSERT(tmp_img_data);

    glPushAttrib(GL_ENABLE_BIT);
    // DevIL rows are tightly packed; a 4-byte row alignment would read past
    // the end of RGB images whose width is not a multiple of 4. The image
    // library's start-up sets 1 as well, but the upload must not rely on it.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glEnable(textarget);
    glBindTexture(textarget, record.gl_texture);

    glTexParameteri(textarget, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(textarget, GL_TEXTURE_WRAP_T, wrap);
    glTexParameteri(textarget, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (mipmap) {
        glTexParameteri(textarget, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        VT_ASSERT(textarget == GL_TEXTURE_2D);
        gluBuild2DMipmaps(textarget, GL_RGBA, width, height, format, GL_UNSIGNED_BYTE,
                          tmp_img_data);
    } else {
        glTexParameteri(textarget, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        if (textarget == GL_TEXTURE_1D) {
            glTexImage1D(textarget, 0, GL_RGB, width, 0, format, GL_UNSIGNED_BYTE, tmp_img_data);
        } else {
            // clang-format off
            VT_ASSERT((textarget == GL_TEXTURE_2D) || (textarget==GL_TEXTURE_RECTANGLE_ARB));
            // clang-format on
            glTexImage2D(textarget, 0, GL_RGBA, width, height, 0, format, GL_UNSIGNED_BYTE,
                         tmp_img_data);
        }
    }
    report_il_error();
    report_gl_error("cTextureManager::get_texture");
    glPopClientAttrib();
    glPopAttrib();
    return cTexProxy(textarget, record.gl_texture, width, height);
}
