#include "gl_entry.h"

namespace ext {
#define VT_GL_DEFINE_ENTRY_POINT(type, name, reported) type name = nullptr;
VT_GL_ENTRY_POINTS(VT_GL_DEFINE_ENTRY_POINT)
#undef VT_GL_DEFINE_ENTRY_POINT

#define VT_GL_TABLE_ENTRY(type, name, reported) {#name, reinterpret_cast<void**>(&name), reported},
const sEntryPoint kVertexBufferEntryPoints[] = {
    VT_GL_VERTEX_BUFFER_ENTRY_POINTS(VT_GL_TABLE_ENTRY){nullptr, nullptr, false}};
const sEntryPoint kMultitextureEntryPoints[] = {
    VT_GL_MULTITEXTURE_ENTRY_POINTS(VT_GL_TABLE_ENTRY){nullptr, nullptr, false}};
const sEntryPoint kFramebufferEntryPoints[] = {
    VT_GL_FRAMEBUFFER_ENTRY_POINTS(VT_GL_TABLE_ENTRY){nullptr, nullptr, false}};
const sEntryPoint kOtherEntryPoints[] = {
    VT_GL_OTHER_ENTRY_POINTS(VT_GL_TABLE_ENTRY){nullptr, nullptr, false}};
#undef VT_GL_TABLE_ENTRY
} // namespace ext
