#include "capture/frame_sink.h"

#include "gl_setup.h"
#include "platform/process.h"

#include <IL/il.h>
#include <algorithm>
#include <cstdio>
#include <vector>

std::string cFrameSink_png::frame_name(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06d.png", index);
    return name;
}

namespace {
std::string without_trailing_slashes(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}
} // namespace

bool cFrameSink_png::is_frame_name(const std::string& name) {
    const std::size_t digits = name.size() - std::min(name.size(), std::size_t(10));
    if (digits < 6 || name.compare(0, 6, "frame_") != 0 ||
        name.compare(name.size() - 4, 4, ".png") != 0)
        return false;
    for (std::size_t i = 6; i < 6 + digits; ++i)
        if (name[i] < '0' || name[i] > '9')
            return false;
    return true;
}

cFrameSink_png::cFrameSink_png(std::string folder)
    : m_folder(without_trailing_slashes(std::move(folder))),
      m_partial_folder(m_folder + ".partial") {}

bool cFrameSink_png::open(std::string* error) {
    m_made_folder = !platform::is_folder(m_folder);
    for (const std::string& folder : {m_folder, m_partial_folder}) {
        std::string reason, failure;
        std::vector<std::string> names;
        if (!platform::make_directories(folder, &reason)) {
            failure = "cannot create the folder \"" + folder + "\": " + reason;
        } else if (!platform::folder_is_writable(folder)) {
            failure = "cannot write into the folder \"" + folder + "\"";
        } else if (!platform::list_folder(folder, &names, &reason)) {
            failure = "cannot read the folder \"" + folder + "\": " + reason;
        } else {
            // The folders are replaced by this capture's frames: an earlier
            // capture's frames may go, nothing else.
            for (const std::string& name : names)
                if (!is_frame_name(name)) {
                    failure = "the folder \"" + folder + "\" holds \"" + name +
                              "\", which is no captured frame: capture into a new or empty folder";
                    break;
                }
        }
        if (!failure.empty()) {
            *error = failure;
            if (m_made_folder)
                std::remove(m_folder.c_str());
            return false;
        }
        if (folder == m_partial_folder)
            for (const std::string& name : names)
                platform::remove_file(folder + "/" + name);
    }
    return true;
}

bool cFrameSink_png::write_frame(const std::uint8_t* rgb, int width, int height,
                                 std::string* error) {
    const std::string path = m_partial_folder + "/" + frame_name(m_written);
    std::string reason;
    if (!write_png(path, rgb, width, height, &reason)) {
        *error = "cannot write \"" + path + "\": " + reason;
        return false;
    }
    ++m_written;
    return true;
}

bool cFrameSink_png::write_png(const std::string& path, const std::uint8_t* rgb, int width,
                               int height, std::string* error) {
    // Encoded into memory and written by us: the image library's own file
    // writing reports success when the disk is full.
    std::vector<char> encoded;
    ILuint size = 0;
    {
        std::lock_guard<std::recursive_mutex> lock(image_library_lock());
        ILuint image = 0;
        ilGenImages(1, &image);
        ilBindImage(image);
        while (ilGetError() != IL_NO_ERROR) {
        }
        // The rows come bottom first, which is the image library's lower-left origin.
        if (ilTexImage(ILuint(width), ILuint(height), 1, 3, IL_RGB, IL_UNSIGNED_BYTE,
                       const_cast<std::uint8_t*>(rgb)) == IL_TRUE) {
            // Room for the pixels stored uncompressed, with the filter byte
            // of each row and the format's own overhead.
            encoded.resize(std::size_t(height) * (std::size_t(width) * 3 + 1) * 101 / 100 + 4096);
            size = ilSaveL(IL_PNG, encoded.data(), ILuint(encoded.size()));
            while (ilGetError() != IL_NO_ERROR)
                size = 0;
        }
        ilDeleteImages(1, &image);
    }
    if (size == 0) {
        *error = "the picture could not be encoded";
        return false;
    }
    return platform::write_file(path, encoded.data(), size, error);
}

bool cFrameSink_png::finish(std::string* error) {
    // An earlier capture's frames make way; the folder, empty then, is
    // replaced by the partial one in one step.
    std::vector<std::string> names;
    std::string reason;
    if (platform::list_folder(m_folder, &names, &reason))
        for (const std::string& name : names)
            if (is_frame_name(name))
                platform::remove_file(m_folder + "/" + name);
    if (!platform::rename_file(m_partial_folder, m_folder, &reason)) {
        *error = "cannot move the frames into \"" + m_folder + "\": " + reason;
        return false;
    }
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
