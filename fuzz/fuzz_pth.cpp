// libFuzzer target for the camera path loader and its evaluation.
#include "mesh_files/camera_path.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cCameraPath path;
    path.load_text(reinterpret_cast<const char*>(data), size);
    // Every pass reads at least one character or ends the loading, and every
    // pass adds a key.
    if (path.size() == 0 || path.size() > size + 1)
        std::abort();
    for (float t : {-1.0f, 0.0f, 0.3f, 0.5f, 0.99f, 1.0f, 7.0f}) {
        volatile float sink = path.eye_at(t).x + path.target_at(t).y + path.up_at(t).z;
        (void)sink;
    }
    return 0;
}
