#include "frame_sink.h"

#include "platform/process.h"

#include <IL/il.h>
#include <cstdio>

std::string cFrameSink_png::frame_name(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06d.png", index);
    return name;
}

bool cFrameSink_png::open(std::string* error) {
    std::string reason;
    if (!platform::make_directories(m_folder, &reason)) {
        *error = "cannot create the folder \"" + m_folder + "\": " + reason;
        return false;
    }
    if (!platform::folder_is_writable(m_folder)) {
        *error = "cannot write into the folder \"" + m_folder + "\"";
        return false;
    }
    return true;
}

bool cFrameSink_png::write_frame(const std::uint8_t* rgb, int width, int height,
                                 std::string* error) {
    const std::string path = m_folder + "/" + frame_name(m_written);
    if (!write_png(path, rgb, width, height)) {
        *error = "cannot write \"" + path + "\"";
        return false;
    }
    ++m_written;
    return true;
}

bool cFrameSink_png::write_png(const std::string& path, const std::uint8_t* rgb, int width,
                               int height) {
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

bool cFrameSink_png::finish(std::string*) {
    return true;
}
