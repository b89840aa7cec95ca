// Feeds arbitrary bytes to the tweak-file reader and checks what it keeps.
#include "tweak_file.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> warnings;
    const std::vector<sTweak> tweaks =
        parse_tweaks(std::string(reinterpret_cast<const char*>(data), size), "fuzz", &warnings);
    for (const sTweak& tweak : tweaks) {
        if (tweak.scene < 0 || tweak.name.empty() || (tweak.count != 1 && tweak.count != 3))
            __builtin_trap();
        for (float value : tweak.value)
            if (!std::isfinite(value))
                __builtin_trap();
    }
    // What is written reads back as the same values.
    std::vector<std::string> again;
    if (parse_tweaks(format_tweaks(tweaks), "fuzz", &again) != tweaks || !again.empty())
        __builtin_trap();
    return 0;
}
