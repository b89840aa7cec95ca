// Image textures: loaded once per file name through the search path, decoded
// by DevIL and uploaded to GL; users hold small cTexProxy values.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <map>
#include <string>

// A value handle of one image texture: target, GL name and image size. The
// default one is invalid (every field all bits set).
class cTexProxy {
public:
    cTexProxy() = default;
    cTexProxy(GLenum target, GLuint id, GLuint width, GLuint height)
        : m_target(target), m_id(id), m_width(width), m_height(height) {}

    bool isValid() const { return m_id != kInvalid; }

    void enable() const;
    void disable() const;
    void bind() const;
    void unbind() const;

    GLenum get_textarget() const { return m_target; }
    GLuint get_id() const { return m_id; }
    GLuint get_width() const { return m_width; }
    GLuint get_height() const { return m_height; }

private:
    static constexpr GLuint kInvalid = ~GLuint(0);

    GLenum m_target = kInvalid;
    GLuint m_id = kInvalid;
    GLuint m_width = kInvalid;
    GLuint m_height = kInvalid;
};

class cTextureManager {
public:
    // The one manager, created empty on first use.
    static cTextureManager* instance();
    // Deletes the manager with every image and texture; the exit handler
    // calls it. Harmless when there is none.
    static void destroy();

    cTextureManager(const cTextureManager&) = delete;
    cTextureManager& operator=(const cTextureManager&) = delete;

    // The texture of an image file, found through the search path. The first
    // request of a name loads and uploads it with this wrap mode and mipmap
    // choice; later requests return the same texture whatever they ask for.
    // Ends the program (status -1) when the file cannot be found or opened,
    // and (status 1) when it is no PNG or JPEG image or its header claims a
    // size that is beyond sane limits or more than the file can hold.
    cTexProxy get_texture(std::string name, bool mipmap, GLenum wrap);

    // The texture target for an image of this size: one pixel high gives a
    // 1D lookup texture, power-of-two sides a 2D texture, anything else a
    // rectangle texture, which cannot have mipmaps (mipmap is cleared then).
    static GLenum texture_target_for(int width, int height, bool& mipmap);

private:
    struct sTexRecord {
        unsigned il_image; // the decoded pixels, kept for the whole run
        GLuint gl_texture; // 0 until the first upload
    };

    cTextureManager() = default;
    ~cTextureManager();

    std::map<std::string, sTexRecord> m_textures;
};
