#include "tool/still_writer.h"

#include "capture/frame_sink.h"
#include "display_settings.h"
#include "gl_entry.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "timecode.h"

#include <SDL.h>
#include <algorithm>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

namespace {
const char* const kShotsFolder = "../shots";
} // namespace

void cStillWriter::write(int timeline_ms) {
    const cDisplaySettings* settings = cDisplaySettings::instance();
    int width = settings->m_screen_width, height = settings->m_screen_height;
    if (settings->m_window)
        SDL_GL_GetDrawableSize(settings->m_window, &width, &height);
    std::vector<std::uint8_t> pixels(std::size_t(width) * std::size_t(height) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());

    std::string error;
    if (!platform::make_directories(kShotsFolder, &error)) {
        std::cerr << "## ERROR: still: " << error << std::endl;
        return;
    }
    std::string stem = format_timecode(timeline_ms);
    std::replace(stem.begin(), stem.end(), ':', '-');
    std::string path = std::string(kShotsFolder) + "/" + stem + ".png";
    for (int n = 2; platform::is_readable_file(path); ++n)
        path = std::string(kShotsFolder) + "/" + stem + "_" + std::to_string(n) + ".png";
    std::string reason;
    if (!cFrameSink_png::write_png(path, pixels.data(), width, height, &reason)) {
        std::cerr << "## ERROR: still: cannot write \"" << path << "\": " << reason << std::endl;
        return;
    }
    int error_code = 0;
    std::cerr << "# tool: still " << platform::absolute_path(path, error_code) << std::endl;
}
