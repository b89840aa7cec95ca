#include "frame_sink.h"

#include "gl_setup.h"
#include "platform/process.h"

#include <IL/il.h>
#include <cstdio>

std::string cFrameSink_png::frame_name(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06d.png", index);
    return name;
}

namespace {
// The folder's name without trailing slashes, with ".partial" added.
std::string partial_name(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder + ".partial";
}
} // namespace

cFrameSink_png::cFrameSink_png(std::string folder)
    : m_folder(std::move(folder)), m_partial_folder(partial_name(m_folder)) {}

bool cFrameSink_png::open(std::string* error) {
    m_made_folder = !platform::is_folder(m_folder);
    for (const std::string& folder : {m_folder, m_partial_folder}) {
        std::string reason;
        if (!platform::make_directories(folder, &reason)) {
            *error = "cannot create the folder \"" + folder + "\": " + reason;
            return false;
        }
        if (!platform::folder_is_writable(folder)) {
            *error = "cannot write into the folder \"" + folder + "\"";
            return false;
        }
    }
    // Frames left by an earlier capture that stopped must not be taken for
    // frames of this one.
    for (int i = 0; std::remove((m_partial_folder + "/" + frame_name(i)).c_str()) == 0; ++i) {
    }
    return true;
}

bool cFrameSink_png::write_frame(const std::uint8_t* rgb, int width, int height,
                                 std::string* error) {
    const std::string path = m_partial_folder + "/" + frame_name(m_written);
    if (!write_png(path, rgb, width, height)) {
        *error = "cannot write \"" + path + "\"";
        return false;
    }
    ++m_written;
    return true;
}

bool cFrameSink_png::write_png(const std::string& path, const std::uint8_t* rgb, int width,
                               int height) {
    std::lock_guard<std::recursive_mutex> lock(image_library_lock());
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    // The rows come bottom first, which is the image library's lower-left origin.
    bool ok = ilTexImage(ILuint(width), ILuint(height), 1, 3, IL_RGB, IL_UNSIGNED_BYTE,
                         const_cast<std::uint8_t*>(rgb)) == IL_TRUE;
    if (ok) {
        ilEnable(IL_FILE_OVERWRITE);
        ok = ilSave(IL_PNG, path.c_str()) == IL_TRUE;
    }
    ilDeleteImages(1, &image);
    return ok;
}

bool cFrameSink_png::finish(std::string* error) {
    for (int i = 0; i < m_written; ++i) {
        std::string reason;
        const std::string name = "/" + frame_name(i);
        if (!platform::rename_file(m_partial_folder + name, m_folder + name, &reason)) {
            *error = "cannot move the frames into \"" + m_folder + "\": " + reason;
            return false;
        }
    }
    std::remove(m_partial_folder.c_str()); // empty now
    return true;
}

std::string cFrameSink_png::keep_partial() {
    if (m_made_folder)
        std::remove(m_folder.c_str()); // only while empty
    if (m_written > 0)
        return m_partial_folder;
    std::remove(m_partial_folder.c_str());
    return "";
}
