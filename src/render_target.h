// An off-screen image that passes render into and then read as a texture.
#pragma once

class iRenderTarget {
public:
    // Creates the GL objects.
    virtual void init() = 0;
    // Starts rendering into the target: its viewport and colour buffer.
    virtual void bind() = 0;
    // Ends rendering: back to the default framebuffer and the saved viewport.
    // Binds do not nest.
    virtual void unbind() = 0;
    virtual void bind_texture() const = 0;
    virtual void unbind_texture() const = 0;
    virtual ~iRenderTarget() = default;
    virtual void enable_texture() const = 0;
    virtual void disable_texture() const = 0;

    // Size in pixels; texture coordinates of rectangle textures span it.
    virtual unsigned get_width() const = 0;
    virtual unsigned get_height() const = 0;
};
