#include "options.h"

#include "event_queue_factory.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

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
} // namespace

const char* usage_text() {
    return "usage: vantrel [options]\n"
           "  --widescreen      stretch the picture over the full screen (no question)\n"
           "  --letterbox       keep the picture's aspect with bars (no question)\n"
           "  --windowed        a 1024 x 768 window instead of full screen\n"
           "  --capture PATH    render the show offline: PATH ending in .mp4 or .mkv is a\n"
           "                    video with the soundtrack (needs ffmpeg), any other PATH a\n"
           "                    folder of numbered PNG frames\n"
           "  --fps N           frame rate of a capture (default 60)\n"
           "  --from T, --to T  capture only the frames from/to timeline time T\n"
           "                    (milliseconds or h:m:s,ms)\n"
           "  --tool            makers' mode: pause, seek, loop a scene, reload programs\n"
           "                    and markers, stills, the time on screen (see README)\n"
           "  --help, --version\n"
           "With neither --widescreen nor --letterbox the live show asks at start;\n"
           "--tool does not ask and keeps the aspect unless --widescreen is given.\n";
}

bool parse_time_argument(const std::string& text, int* ms) {
    if (text.find_first_of(":,") != std::string::npos) {
        std::vector<char> token(text.begin(), text.end());
        token.push_back('\0');
        return cEventQueue_factory::time_parse(token.data(), ms) && *ms >= 0;
    }
    return parse_int(text, 0, INT_MAX, ms);
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
    if ((options->has_from || options->has_to || options->has_fps) && !options->capturing()) {
        *error = "--fps, --from and --to only apply to --capture";
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
    return true;
}
