// libFuzzer target for the MP3 decoder: the whole file's bytes through the
// decoding library, with the decoder's own checks (the frame count a hint
// only, the length cap, the early-end report).
#include "mp3_decoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cMp3Decoder decoder;
    const cMp3Decoder::eResult result = decoder.decode_memory(data, size);
    // Only whole frames of both channels, and nothing kept after a failure.
    if (decoder.samples().size() % cMp3Decoder::kChannels != 0 ||
        (result != cMp3Decoder::DECODED && !decoder.samples().empty()))
        std::abort();
    return 0;
}
