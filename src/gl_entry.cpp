#include "gl_entry.h"

namespace ext {
PFNGLBINDBUFFERARBPROC glBindBufferARB = nullptr;
PFNGLBUFFERDATAARBPROC glBufferDataARB = nullptr;
PFNGLGENBUFFERSARBPROC glGenBuffersARB = nullptr;
PFNGLDELETEBUFFERSARBPROC glDeleteBuffersARB = nullptr;
PFNGLMAPBUFFERARBPROC glMapBufferARB = nullptr;
PFNGLUNMAPBUFFERARBPROC glUnmapBufferARB = nullptr;
PFNGLVERTEXATTRIBPOINTERARBPROC glVertexAttribPointerARB = nullptr;
PFNGLGETVERTEXATTRIBPOINTERVARBPROC glGetVertexAttribPointervARB = nullptr;
PFNGLACTIVETEXTUREPROC glActiveTexture = nullptr;
PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTexture = nullptr;
PFNGLACTIVETEXTUREARBPROC glActiveTextureARB = nullptr;
PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB = nullptr;
PFNGLMULTITEXCOORD1DARBPROC glMultiTexCoord1dARB = nullptr;
PFNGLMULTITEXCOORD1DVARBPROC glMultiTexCoord1dvARB = nullptr;
PFNGLMULTITEXCOORD1FARBPROC glMultiTexCoord1fARB = nullptr;
PFNGLMULTITEXCOORD1FVARBPROC glMultiTexCoord1fvARB = nullptr;
PFNGLMULTITEXCOORD1IARBPROC glMultiTexCoord1iARB = nullptr;
PFNGLMULTITEXCOORD1IVARBPROC glMultiTexCoord1ivARB = nullptr;
PFNGLMULTITEXCOORD1SARBPROC glMultiTexCoord1sARB = nullptr;
PFNGLMULTITEXCOORD1SVARBPROC glMultiTexCoord1svARB = nullptr;
PFNGLMULTITEXCOORD2DARBPROC glMultiTexCoord2dARB = nullptr;
PFNGLMULTITEXCOORD2DVARBPROC glMultiTexCoord2dvARB = nullptr;
PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB = nullptr;
PFNGLMULTITEXCOORD2FVARBPROC glMultiTexCoord2fvARB = nullptr;
PFNGLMULTITEXCOORD2IARBPROC glMultiTexCoord2iARB = nullptr;
PFNGLMULTITEXCOORD2IVARBPROC glMultiTexCoord2ivARB = nullptr;
PFNGLMULTITEXCOORD2SARBPROC glMultiTexCoord2sARB = nullptr;
PFNGLMULTITEXCOORD2SVARBPROC glMultiTexCoord2svARB = nullptr;
PFNGLMULTITEXCOORD3DARBPROC glMultiTexCoord3dARB = nullptr;
PFNGLMULTITEXCOORD3DVARBPROC glMultiTexCoord3dvARB = nullptr;
PFNGLMULTITEXCOORD3FARBPROC glMultiTexCoord3fARB = nullptr;
PFNGLMULTITEXCOORD3FVARBPROC glMultiTexCoord3fvARB = nullptr;
PFNGLMULTITEXCOORD3IARBPROC glMultiTexCoord3iARB = nullptr;
PFNGLMULTITEXCOORD3IVARBPROC glMultiTexCoord3ivARB = nullptr;
PFNGLMULTITEXCOORD3SARBPROC glMultiTexCoord3sARB = nullptr;
PFNGLMULTITEXCOORD3SVARBPROC glMultiTexCoord3svARB = nullptr;
PFNGLMULTITEXCOORD4DARBPROC glMultiTexCoord4dARB = nullptr;
PFNGLMULTITEXCOORD4DVARBPROC glMultiTexCoord4dvARB = nullptr;
PFNGLMULTITEXCOORD4FARBPROC glMultiTexCoord4fARB = nullptr;
PFNGLMULTITEXCOORD4FVARBPROC glMultiTexCoord4fvARB = nullptr;
PFNGLMULTITEXCOORD4IARBPROC glMultiTexCoord4iARB = nullptr;
PFNGLMULTITEXCOORD4IVARBPROC glMultiTexCoord4ivARB = nullptr;
PFNGLMULTITEXCOORD4SARBPROC glMultiTexCoord4sARB = nullptr;
PFNGLMULTITEXCOORD4SVARBPROC glMultiTexCoord4svARB = nullptr;
PFNGLISRENDERBUFFEREXTPROC glIsRenderbufferEXT = nullptr;
PFNGLBINDRENDERBUFFEREXTPROC glBindRenderbufferEXT = nullptr;
PFNGLDELETERENDERBUFFERSEXTPROC glDeleteRenderbuffersEXT = nullptr;
PFNGLGENRENDERBUFFERSEXTPROC glGenRenderbuffersEXT = nullptr;
PFNGLRENDERBUFFERSTORAGEEXTPROC glRenderbufferStorageEXT = nullptr;
PFNGLGETRENDERBUFFERPARAMETERIVEXTPROC glGetRenderbufferParameterivEXT = nullptr;
PFNGLISFRAMEBUFFEREXTPROC glIsFramebufferEXT = nullptr;
PFNGLBINDFRAMEBUFFEREXTPROC glBindFramebufferEXT = nullptr;
PFNGLDELETEFRAMEBUFFERSEXTPROC glDeleteFramebuffersEXT = nullptr;
PFNGLGENFRAMEBUFFERSEXTPROC glGenFramebuffersEXT = nullptr;
PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC glCheckFramebufferStatusEXT = nullptr;
PFNGLFRAMEBUFFERTEXTURE1DEXTPROC glFramebufferTexture1DEXT = nullptr;
PFNGLFRAMEBUFFERTEXTURE2DEXTPROC glFramebufferTexture2DEXT = nullptr;
PFNGLFRAMEBUFFERTEXTURE3DEXTPROC glFramebufferTexture3DEXT = nullptr;
PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC glFramebufferRenderbufferEXT = nullptr;
PFNGLGETFRAMEBUFFERATTACHMENTPARAMETERIVEXTPROC glGetFramebufferAttachmentParameterivEXT = nullptr;
PFNGLGENERATEMIPMAPEXTPROC glGenerateMipmapEXT = nullptr;
PFNGLDRAWBUFFERSARBPROC glDrawBuffersARB = nullptr;
PFNGLPOINTPARAMETERFARBPROC glPointParameterfARB = nullptr;
PFNGLPOINTPARAMETERFVARBPROC glPointParameterfvARB = nullptr;
PFNGLDRAWRANGEELEMENTSPROC glDrawRangeElements = nullptr;

const sEntryPoint kVertexBufferEntryPoints[] = {
    {"glBindBufferARB", reinterpret_cast<void**>(&glBindBufferARB), true},
    {"glBufferDataARB", reinterpret_cast<void**>(&glBufferDataARB), true},
    {"glGenBuffersARB", reinterpret_cast<void**>(&glGenBuffersARB), true},
    {"glDeleteBuffersARB", reinterpret_cast<void**>(&glDeleteBuffersARB), true},
    {"glMapBufferARB", reinterpret_cast<void**>(&glMapBufferARB), true},
    {"glUnmapBufferARB", reinterpret_cast<void**>(&glUnmapBufferARB), true},
    {"glVertexAttribPointerARB", reinterpret_cast<void**>(&glVertexAttribPointerARB), true},
    {"glGetVertexAttribPointervARB", reinterpret_cast<void**>(&glGetVertexAttribPointervARB), true},
    {nullptr, nullptr, false},
};
const sEntryPoint kMultitextureEntryPoints[] = {
    {"glActiveTexture", reinterpret_cast<void**>(&glActiveTexture), true},
    {"glClientActiveTexture", reinterpret_cast<void**>(&glClientActiveTexture), true},
    {"glActiveTextureARB", reinterpret_cast<void**>(&glActiveTextureARB), true},
    {"glClientActiveTextureARB", reinterpret_cast<void**>(&glClientActiveTextureARB), true},
    {"glMultiTexCoord1dARB", reinterpret_cast<void**>(&glMultiTexCoord1dARB), true},
    {"glMultiTexCoord1dvARB", reinterpret_cast<void**>(&glMultiTexCoord1dvARB), true},
    {"glMultiTexCoord1fARB", reinterpret_cast<void**>(&glMultiTexCoord1fARB), true},
    {"glMultiTexCoord1fvARB", reinterpret_cast<void**>(&glMultiTexCoord1fvARB), true},
    {"glMultiTexCoord1iARB", reinterpret_cast<void**>(&glMultiTexCoord1iARB), true},
    {"glMultiTexCoord1ivARB", reinterpret_cast<void**>(&glMultiTexCoord1ivARB), true},
    {"glMultiTexCoord1sARB", reinterpret_cast<void**>(&glMultiTexCoord1sARB), true},
    {"glMultiTexCoord1svARB", reinterpret_cast<void**>(&glMultiTexCoord1svARB), true},
    {"glMultiTexCoord2dARB", reinterpret_cast<void**>(&glMultiTexCoord2dARB), true},
    {"glMultiTexCoord2dvARB", reinterpret_cast<void**>(&glMultiTexCoord2dvARB), true},
    {"glMultiTexCoord2fARB", reinterpret_cast<void**>(&glMultiTexCoord2fARB), true},
    {"glMultiTexCoord2fvARB", reinterpret_cast<void**>(&glMultiTexCoord2fvARB), true},
    {"glMultiTexCoord2iARB", reinterpret_cast<void**>(&glMultiTexCoord2iARB), true},
    {"glMultiTexCoord2ivARB", reinterpret_cast<void**>(&glMultiTexCoord2ivARB), true},
    {"glMultiTexCoord2sARB", reinterpret_cast<void**>(&glMultiTexCoord2sARB), true},
    {"glMultiTexCoord2svARB", reinterpret_cast<void**>(&glMultiTexCoord2svARB), true},
    {"glMultiTexCoord3dARB", reinterpret_cast<void**>(&glMultiTexCoord3dARB), true},
    {"glMultiTexCoord3dvARB", reinterpret_cast<void**>(&glMultiTexCoord3dvARB), true},
    {"glMultiTexCoord3fARB", reinterpret_cast<void**>(&glMultiTexCoord3fARB), true},
    {"glMultiTexCoord3fvARB", reinterpret_cast<void**>(&glMultiTexCoord3fvARB), true},
    {"glMultiTexCoord3iARB", reinterpret_cast<void**>(&glMultiTexCoord3iARB), true},
    {"glMultiTexCoord3ivARB", reinterpret_cast<void**>(&glMultiTexCoord3ivARB), true},
    {"glMultiTexCoord3sARB", reinterpret_cast<void**>(&glMultiTexCoord3sARB), true},
    {"glMultiTexCoord3svARB", reinterpret_cast<void**>(&glMultiTexCoord3svARB), true},
    {"glMultiTexCoord4dARB", reinterpret_cast<void**>(&glMultiTexCoord4dARB), true},
    {"glMultiTexCoord4dvARB", reinterpret_cast<void**>(&glMultiTexCoord4dvARB), true},
    {"glMultiTexCoord4fARB", reinterpret_cast<void**>(&glMultiTexCoord4fARB), true},
    {"glMultiTexCoord4fvARB", reinterpret_cast<void**>(&glMultiTexCoord4fvARB), true},
    {"glMultiTexCoord4iARB", reinterpret_cast<void**>(&glMultiTexCoord4iARB), true},
    {"glMultiTexCoord4ivARB", reinterpret_cast<void**>(&glMultiTexCoord4ivARB), true},
    {"glMultiTexCoord4sARB", reinterpret_cast<void**>(&glMultiTexCoord4sARB), true},
    {"glMultiTexCoord4svARB", reinterpret_cast<void**>(&glMultiTexCoord4svARB), true},
    {nullptr, nullptr, false},
};
const sEntryPoint kFramebufferEntryPoints[] = {
    {"glIsRenderbufferEXT", reinterpret_cast<void**>(&glIsRenderbufferEXT), true},
    {"glBindRenderbufferEXT", reinterpret_cast<void**>(&glBindRenderbufferEXT), true},
    {"glDeleteRenderbuffersEXT", reinterpret_cast<void**>(&glDeleteRenderbuffersEXT), true},
    {"glGenRenderbuffersEXT", reinterpret_cast<void**>(&glGenRenderbuffersEXT), true},
    {"glRenderbufferStorageEXT", reinterpret_cast<void**>(&glRenderbufferStorageEXT), true},
    {"glGetRenderbufferParameterivEXT", reinterpret_cast<void**>(&glGetRenderbufferParameterivEXT),
     true},
    {"glIsFramebufferEXT", reinterpret_cast<void**>(&glIsFramebufferEXT), true},
    {"glBindFramebufferEXT", reinterpret_cast<void**>(&glBindFramebufferEXT), true},
    {"glDeleteFramebuffersEXT", reinterpret_cast<void**>(&glDeleteFramebuffersEXT), true},
    {"glGenFramebuffersEXT", reinterpret_cast<void**>(&glGenFramebuffersEXT), true},
    {"glCheckFramebufferStatusEXT", reinterpret_cast<void**>(&glCheckFramebufferStatusEXT), true},
    {"glFramebufferTexture1DEXT", reinterpret_cast<void**>(&glFramebufferTexture1DEXT), true},
    {"glFramebufferTexture2DEXT", reinterpret_cast<void**>(&glFramebufferTexture2DEXT), true},
    {"glFramebufferTexture3DEXT", reinterpret_cast<void**>(&glFramebufferTexture3DEXT), true},
    {"glFramebufferRenderbufferEXT", reinterpret_cast<void**>(&glFramebufferRenderbufferEXT), true},
    {"glGetFramebufferAttachmentParameterivEXT",
     reinterpret_cast<void**>(&glGetFramebufferAttachmentParameterivEXT), true},
    {"glGenerateMipmapEXT", reinterpret_cast<void**>(&glGenerateMipmapEXT), true},
    {"glDrawBuffersARB", reinterpret_cast<void**>(&glDrawBuffersARB), true},
    {nullptr, nullptr, false},
};
const sEntryPoint kOtherEntryPoints[] = {
    {"glPointParameterfARB", reinterpret_cast<void**>(&glPointParameterfARB), false},
    {"glPointParameterfvARB", reinterpret_cast<void**>(&glPointParameterfvARB), false},
    {"glDrawRangeElements", reinterpret_cast<void**>(&glDrawRangeElements), true},
    {nullptr, nullptr, false},
};
} // namespace ext
