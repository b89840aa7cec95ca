// The show's models, generated: the attractor logo, the sun and its flare,
// the sprutte creature with its cage, rings and debris, and the credits room
// with its sphere and debris shadows. Everything is deterministic.
#pragma once
#include "geom.h"
#include "mesh_files/mesh_data.h"

#include <string>
#include <vector>

struct sModelFile {
    std::string m_folder; // below data/models
    std::string m_name;
    sMeshData m_mesh;
};

// One lightmapped mesh of the credits room, with what the baker needs.
struct sRoomPart {
    std::string m_name;              // the mesh file
    std::string m_map_stem;          // "<stem>VRayCompleteMap_off.jpg" / "_on.jpg"
    int m_map_size = 256;            // lightmap width and height in texels
    sMeshData m_mesh;                // texture coordinates are the lightmap atlas
    std::vector<uint8_t> m_emissive; // per triangle: 1 for the lamp's bulb
    sV3 m_albedo;                    // base colour of the surface
};

// Where the room's lamp bulb shines from, and its radius.
sV3 room_lamp_position();
double room_lamp_radius();

// The five room meshes in the order the credits scenes load them.
std::vector<sRoomPart> build_room();

// Every mesh file of the show, the room's included.
std::vector<sModelFile> build_models();
