#include "options.h"

#include "event_queue_factory.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace {
bool parse_int(const std::string& text, long min, long max, int* value) {
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    long parsed = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || parsed < min || parsed > max)
        return false;
    *value = int(parsed);
    return true;
}

// Frame k of a capture is at k x 1000 / fps ms, rounded down: the first one at
// or after --from must not lie after --to.
bool range_holds_a_frame(const sOptions& options) {
    const long long fps = options.fps;
    const long long first = (options.from_ms * fps + 999) / 1000;
    return first * 1000 / fps <= options.to_ms;
}
} // namespace

const char* usage_text() {
    return "usage: vantrel [options]\n"
           "  --widescreen      stretch the picture over the full screen (no question)\n"
           "  --letterbox       keep the picture's aspect with bars (no question)\n"
           "  --windowed        a window instead of full screen\n"
           "  --size WxH        frame size of the window, full screen or capture (also\n"
           "                    720p, 1080p, 1440p, 4k); the picture keeps its aspect\n"
           "                    between black bars; default 1024x768\n"
           "  --desktop         full screen at the desktop's own size (no mode change)\n"
           "  --capture PATH    render the show offline: PATH ending in .mp4 or .mkv is a\n"
           "                    video with the soundtrack (needs ffmpeg), any other PATH a\n"
           "                    folder of numbered PNG frames\n"
           "  --fps N           frame rate of a capture (default 60)\n"
           "  --from T, --to T  capture only the frames from/to timeline time T\n"
           "                    (milliseconds or h:m:s,ms)\n"
           "  --shots T1,T2,... write only the frames at these timeline times (the\n"
           "                    frames between are still updated, at the capture's rate)\n"
           "  --profile         with --capture: each scene's average time of every pass\n"
           "                    of the frame\n"
           "  --tool            makers' mode: pause, seek, loop a scene, reload programs\n"
           "                    and markers, stills, the time on screen (see README)\n"
           "  --at T            with --tool: start at timeline time T\n"
           "  --help, --version\n"
           "With neither --widescreen nor --letterbox the live show asks at start;\n"
           "--tool does not ask and keeps the aspect unless --widescreen is given.\n";
}

bool parse_time_argument(const std::string& text, int* ms) {
    // Typed by a user: a mistyped time must stop the program, not be read as
    // some other time the way the marker script's lenient reader would.
    return cEventQueue_factory::strict_time_parse(text.c_str(), ms);
}

bool parse_size_argument(const std::string& text, int* width, int* height) {
    const struct {
        const char* name;
        int width, height;
    } kNamed[] = {
        {"720p", 1280, 720}, {"1080p", 1920, 1080}, {"1440p", 2560, 1440}, {"4k", 3840, 2160}};
    for (const auto& named : kNamed)
        if (text == named.name) {
            *width = named.width;
            *height = named.height;
            return true;
        }
    const std::size_t x = text.find('x');
    if (x == std::string::npos)
        return false;
    const std::string w = text.substr(0, x), h = text.substr(x + 1);
    // Digits only (no sign, blank or leading zero); even, as video encoders
    // need; at least 320 x 200, the smallest picture every pass can take.
    auto digits = [](const std::string& t) {
        return !t.empty() && t.size() <= 5 && t[0] != '0' &&
               t.find_first_not_of("0123456789") == std::string::npos;
    };
    int wv = 0, hv = 0;
    if (!digits(w) || !digits(h) || !parse_int(w, 320, 32766, &wv) ||
        !parse_int(h, 200, 32766, &hv) || wv % 2 || hv % 2)
        return false;
    *width = wv;
    *height = hv;
    return true;
}

bool parse_time_list(const std::string& text, std::vector<int>* ms) {
    ms->clear();
    std::vector<std::string> pieces(1);
    for (char c : text) {
        if (c == ',')
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        std::string item = pieces[i];
        // The marker notation has four fields; the last may follow a comma.
        if (item.find(':') != std::string::npos) {
            auto fields = [](const std::string& t) {
                std::size_t n = 1;
                for (char c : t)
                    n += (c == ':' || c == ',');
                return n;
            };
            while (fields(item) < 4 && i + 1 < pieces.size())
                item += "," + pieces[++i];
        }
        int value = 0;
        if (!parse_time_argument(item, &value))
            return false;
        ms->push_back(value);
    }
    std::sort(ms->begin(), ms->end());
    ms->erase(std::unique(ms->begin(), ms->end()), ms->end());
    return true;
}

bool parse_options(int argc, const char* const* argv, sOptions* options, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= argc) {
                *error = arg + " needs a value";
                return false;
            }
            *out = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "--widescreen") {
            options->screen = sOptions::WIDESCREEN;
        } else if (arg == "--letterbox") {
            options->screen = sOptions::LETTERBOX;
        } else if (arg == "--windowed") {
            options->windowed = true;
        } else if (arg == "--desktop") {
            options->desktop = true;
        } else if (arg == "--size") {
            if (!value(&text))
                return false;
            if (!parse_size_argument(text, &options->width, &options->height)) {
                *error = "--size needs WxH in even whole pixels from 320x200 up, or 720p, 1080p, "
                         "1440p or 4k, not \"" +
                         text + "\"";
                return false;
            }
        } else if (arg == "--capture") {
            if (!value(&options->capture_path))
                return false;
            if (options->capture_path.empty()) {
                *error = "--capture needs a file or folder name";
                return false;
            }
        } else if (arg == "--fps") {
            if (!value(&text))
                return false;
            if (!parse_int(text, 1, 1000, &options->fps)) {
                *error = "--fps needs a whole number from 1 to 1000, not \"" + text + "\"";
                return false;
            }
            options->has_fps = true;
        } else if (arg == "--from" || arg == "--to") {
            if (!value(&text))
                return false;
            const bool from = arg == "--from";
            if (!parse_time_argument(text, from ? &options->from_ms : &options->to_ms)) {
                *error = arg + " needs a time in milliseconds or h:m:s,ms, not \"" + text + "\"";
                return false;
            }
            (from ? options->has_from : options->has_to) = true;
        } else if (arg == "--at") {
            if (!value(&text))
                return false;
            if (!parse_time_argument(text, &options->at_ms)) {
                *error = "--at needs a time in milliseconds or h:m:s,ms, not \"" + text + "\"";
                return false;
            }
            options->has_at = true;
        } else if (arg == "--shots") {
            if (!value(&text))
                return false;
            if (!parse_time_list(text, &options->shots_ms)) {
                *error = "--shots needs times in milliseconds or h:m:s,ms separated by commas, "
                         "not \"" +
                         text + "\"";
                return false;
            }
        } else if (arg == "--profile") {
            options->profile = true;
        } else if (arg == "--tool") {
            options->tool = true;
        } else if (arg == "--help" || arg == "-h") {
            options->help = true;
        } else if (arg == "--version") {
            options->version = true;
        } else {
            *error = "unknown option " + arg;
            return false;
        }
    }
    if ((options->has_from || options->has_to || options->has_fps || !options->shots_ms.empty() ||
         options->profile) &&
        !options->capturing()) {
        *error = "--fps, --from, --to, --shots and --profile only apply to --capture";
        return false;
    }
    if (options->has_at && !options->tool) {
        *error = "--at only applies to --tool";
        return false;
    }
    if (options->desktop && (options->windowed || options->has_size() || options->capturing())) {
        *error = "--desktop takes the desktop's size: it cannot be combined with --windowed, "
                 "--size or --capture";
        return false;
    }
    if (options->tool && options->capturing()) {
        *error = "--tool plays the show live and cannot be combined with --capture";
        return false;
    }
    if (options->has_from && options->has_to && options->to_ms < options->from_ms) {
        *error = "--to is before --from";
        return false;
    }
    if (options->has_from && options->has_to && !range_holds_a_frame(*options)) {
        *error = "no frame of a capture at " + std::to_string(options->fps) +
                 " frames per second falls between --from and --to";
        return false;
    }
    return true;
}
