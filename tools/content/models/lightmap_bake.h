// A small lightmap baker for the credits room: for every texel of each
// mesh's atlas, sky light through the open top with ambient occlusion, and
// the lamp's direct light with soft shadows, all traced against the whole
// room. Two maps per mesh: lamp off and lamp on. Deterministic.
#pragma once
#include "models.h"

#include <cstdint>
#include <vector>

struct sBakeSettings {
    int m_ao_rays = 24;     // hemisphere rays per texel
    int m_shadow_rays = 4;  // rays towards points of the bulb per texel
    int m_size_divisor = 1; // bake at 1/divisor of each part's map size
};

struct sLightmapPair {
    int m_size = 0;             // width and height
    std::vector<uint8_t> m_off; // RGB rows, row 0 at v = 0
    std::vector<uint8_t> m_on;
};

std::vector<sLightmapPair> bake_room(const std::vector<sRoomPart>& room,
                                     const sBakeSettings& settings);
