// The pre-lit room of the two greetings scenes: five meshes, each with a
// lighting map baked with the room light off and one with it on, blended by
// the lightmap shader. Each scene loads its own copy.
#pragma once

#include "texture_manager.h"

#include <memory>

class cCamera;
class iMesh;

constexpr int kCreditsRoomMeshes = 5;
// The ten maps (off, on per mesh) and the sun's gas image.
constexpr int kCreditsRoomMaps = 11;

// Pushes "../data/models/credits" onto the search paths and loads the five
// meshes in room order, without materials.
void load_credits_room_meshes(std::unique_ptr<iMesh> room[kCreditsRoomMeshes]);
void load_credits_room_maps(cTexProxy maps[kCreditsRoomMaps]);
// The rest of a credits scene's loading after its meshes: the room's maps,
// the sphere (returned) and the lightmap shader.
std::unique_ptr<iMesh> load_credits_maps_sphere_and_shader(cTexProxy maps[kCreditsRoomMaps]);
// Draws mesh k with map 2k on texture unit 0 and map 2k + 1 on unit 1, under
// whatever shader is bound; leaves both units unbound and disabled, unit 0
// active.
void draw_credits_room(const std::unique_ptr<iMesh> room[kCreditsRoomMeshes],
                       const cTexProxy maps[kCreditsRoomMaps]);
// The camera both scenes start from until their first path camera.
void reset_credits_camera(cCamera& camera);
// Hands the lightmap shader the weight of the maps with the light on.
void set_credits_room_blend(float blend);
