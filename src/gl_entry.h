// Extension entry points, loaded by init_gl. Mesa's headers already declare
// many of these names as functions, so the pointers live in their own
// namespace: call them as ext::glBindBufferARB(...).
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

// The entry points of each group in look-up order, as X(pointer type, name,
// whether a missing one is reported). The pointers' declarations and
// definitions and the look-up tables are all made from these lists.

// vertex buffer objects
#define VT_GL_VERTEX_BUFFER_ENTRY_POINTS(X)                                                        \
    X(PFNGLBINDBUFFERARBPROC, glBindBufferARB, true)                                               \
    X(PFNGLBUFFERDATAARBPROC, glBufferDataARB, true)                                               \
    X(PFNGLGENBUFFERSARBPROC, glGenBuffersARB, true)                                               \
    X(PFNGLDELETEBUFFERSARBPROC, glDeleteBuffersARB, true)                                         \
    X(PFNGLMAPBUFFERARBPROC, glMapBufferARB, true)                                                 \
    X(PFNGLUNMAPBUFFERARBPROC, glUnmapBufferARB, true)                                             \
    X(PFNGLVERTEXATTRIBPOINTERARBPROC, glVertexAttribPointerARB, true)                             \
    X(PFNGLGETVERTEXATTRIBPOINTERVARBPROC, glGetVertexAttribPointervARB, true)

// multitexture
#define VT_GL_MULTITEXTURE_ENTRY_POINTS(X)                                                         \
    X(PFNGLACTIVETEXTUREPROC, glActiveTexture, true)                                               \
    X(PFNGLCLIENTACTIVETEXTUREARBPROC, glClientActiveTexture, true)                                \
    X(PFNGLACTIVETEXTUREARBPROC, glActiveTextureARB, true)                                         \
    X(PFNGLCLIENTACTIVETEXTUREARBPROC, glClientActiveTextureARB, true)                             \
    X(PFNGLMULTITEXCOORD1DARBPROC, glMultiTexCoord1dARB, true)                                     \
    X(PFNGLMULTITEXCOORD1DVARBPROC, glMultiTexCoord1dvARB, true)                                   \
    X(PFNGLMULTITEXCOORD1FARBPROC, glMultiTexCoord1fARB, true)                                     \
    X(PFNGLMULTITEXCOORD1FVARBPROC, glMultiTexCoord1fvARB, true)                                   \
    X(PFNGLMULTITEXCOORD1IARBPROC, glMultiTexCoord1iARB, true)                                     \
    X(PFNGLMULTITEXCOORD1IVARBPROC, glMultiTexCoord1ivARB, true)                                   \
    X(PFNGLMULTITEXCOORD1SARBPROC, glMultiTexCoord1sARB, true)                                     \
    X(PFNGLMULTITEXCOORD1SVARBPROC, glMultiTexCoord1svARB, true)                                   \
    X(PFNGLMULTITEXCOORD2DARBPROC, glMultiTexCoord2dARB, true)                                     \
    X(PFNGLMULTITEXCOORD2DVARBPROC, glMultiTexCoord2dvARB, true)                                   \
    X(PFNGLMULTITEXCOORD2FARBPROC, glMultiTexCoord2fARB, true)                                     \
    X(PFNGLMULTITEXCOORD2FVARBPROC, glMultiTexCoord2fvARB, true)                                   \
    X(PFNGLMULTITEXCOORD2IARBPROC, glMultiTexCoord2iARB, true)                                     \
    X(PFNGLMULTITEXCOORD2IVARBPROC, glMultiTexCoord2ivARB, true)                                   \
    X(PFNGLMULTITEXCOORD2SARBPROC, glMultiTexCoord2sARB, true)                                     \
    X(PFNGLMULTITEXCOORD2SVARBPROC, glMultiTexCoord2svARB, true)                                   \
    X(PFNGLMULTITEXCOORD3DARBPROC, glMultiTexCoord3dARB, true)                                     \
    X(PFNGLMULTITEXCOORD3DVARBPROC, glMultiTexCoord3dvARB, true)                                   \
    X(PFNGLMULTITEXCOORD3FARBPROC, glMultiTexCoord3fARB, true)                                     \
    X(PFNGLMULTITEXCOORD3FVARBPROC, glMultiTexCoord3fvARB, true)                                   \
    X(PFNGLMULTITEXCOORD3IARBPROC, glMultiTexCoord3iARB, true)                                     \
    X(PFNGLMULTITEXCOORD3IVARBPROC, glMultiTexCoord3ivARB, true)                                   \
    X(PFNGLMULTITEXCOORD3SARBPROC, glMultiTexCoord3sARB, true)                                     \
    X(PFNGLMULTITEXCOORD3SVARBPROC, glMultiTexCoord3svARB, true)                                   \
    X(PFNGLMULTITEXCOORD4DARBPROC, glMultiTexCoord4dARB, true)                                     \
    X(PFNGLMULTITEXCOORD4DVARBPROC, glMultiTexCoord4dvARB, true)                                   \
    X(PFNGLMULTITEXCOORD4FARBPROC, glMultiTexCoord4fARB, true)                                     \
    X(PFNGLMULTITEXCOORD4FVARBPROC, glMultiTexCoord4fvARB, true)                                   \
    X(PFNGLMULTITEXCOORD4IARBPROC, glMultiTexCoord4iARB, true)                                     \
    X(PFNGLMULTITEXCOORD4IVARBPROC, glMultiTexCoord4ivARB, true)                                   \
    X(PFNGLMULTITEXCOORD4SARBPROC, glMultiTexCoord4sARB, true)                                     \
    X(PFNGLMULTITEXCOORD4SVARBPROC, glMultiTexCoord4svARB, true)

// framebuffer objects
#define VT_GL_FRAMEBUFFER_ENTRY_POINTS(X)                                                          \
    X(PFNGLISRENDERBUFFEREXTPROC, glIsRenderbufferEXT, true)                                       \
    X(PFNGLBINDRENDERBUFFEREXTPROC, glBindRenderbufferEXT, true)                                   \
    X(PFNGLDELETERENDERBUFFERSEXTPROC, glDeleteRenderbuffersEXT, true)                             \
    X(PFNGLGENRENDERBUFFERSEXTPROC, glGenRenderbuffersEXT, true)                                   \
    X(PFNGLRENDERBUFFERSTORAGEEXTPROC, glRenderbufferStorageEXT, true)                             \
    X(PFNGLGETRENDERBUFFERPARAMETERIVEXTPROC, glGetRenderbufferParameterivEXT, true)               \
    X(PFNGLISFRAMEBUFFEREXTPROC, glIsFramebufferEXT, true)                                         \
    X(PFNGLBINDFRAMEBUFFEREXTPROC, glBindFramebufferEXT, true)                                     \
    X(PFNGLDELETEFRAMEBUFFERSEXTPROC, glDeleteFramebuffersEXT, true)                               \
    X(PFNGLGENFRAMEBUFFERSEXTPROC, glGenFramebuffersEXT, true)                                     \
    X(PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC, glCheckFramebufferStatusEXT, true)                       \
    X(PFNGLFRAMEBUFFERTEXTURE1DEXTPROC, glFramebufferTexture1DEXT, true)                           \
    X(PFNGLFRAMEBUFFERTEXTURE2DEXTPROC, glFramebufferTexture2DEXT, true)                           \
    X(PFNGLFRAMEBUFFERTEXTURE3DEXTPROC, glFramebufferTexture3DEXT, true)                           \
    X(PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC, glFramebufferRenderbufferEXT, true)                     \
    X(PFNGLGETFRAMEBUFFERATTACHMENTPARAMETERIVEXTPROC, glGetFramebufferAttachmentParameterivEXT,   \
      true)                                                                                        \
    X(PFNGLGENERATEMIPMAPEXTPROC, glGenerateMipmapEXT, true)                                       \
    X(PFNGLDRAWBUFFERSARBPROC, glDrawBuffersARB, true)

// points and ranges
#define VT_GL_OTHER_ENTRY_POINTS(X)                                                                \
    X(PFNGLPOINTPARAMETERFARBPROC, glPointParameterfARB, false)                                    \
    X(PFNGLPOINTPARAMETERFVARBPROC, glPointParameterfvARB, false)                                  \
    X(PFNGLDRAWRANGEELEMENTSPROC, glDrawRangeElements, true)

#define VT_GL_ENTRY_POINTS(X)                                                                      \
    VT_GL_VERTEX_BUFFER_ENTRY_POINTS(X)                                                            \
    VT_GL_MULTITEXTURE_ENTRY_POINTS(X)                                                             \
    VT_GL_FRAMEBUFFER_ENTRY_POINTS(X)                                                              \
    VT_GL_OTHER_ENTRY_POINTS(X)

namespace ext {
#define VT_GL_DECLARE_ENTRY_POINT(type, name, reported) extern type name;
VT_GL_ENTRY_POINTS(VT_GL_DECLARE_ENTRY_POINT)
#undef VT_GL_DECLARE_ENTRY_POINT

// One entry of the look-up table.
struct sEntryPoint {
    const char* name;
    void** slot;
    bool reported; // a missing one is reported
};

// The entry points of each group, in look-up order; each list ends with a
// null name.
extern const sEntryPoint kVertexBufferEntryPoints[];
extern const sEntryPoint kMultitextureEntryPoints[];
extern const sEntryPoint kFramebufferEntryPoints[];
extern const sEntryPoint kOtherEntryPoints[];
} // namespace ext
