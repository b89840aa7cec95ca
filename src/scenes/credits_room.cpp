#include "scenes/credits_room.h"

#include "camera.h"
#include "display_settings.h"
#include "gl_entry.h"
#include "mesh_files/mesh_obj.h"
#include "profile_scope.h"
#include "resource_path.h"
#include "scenes/scene_loading.h"
#include "shader_manager_glsl.h"
#include "shaders/shd_lightmap.h"

namespace {
const char* const kRoomMeshes[kCreditsRoomMeshes] = {"centerring.bzobj", "floor.bzobj",
                                                     "lamp.bzobj", "pipe.bzobj", "soejle.bzobj"};
const char* const kRoomMaps[kCreditsRoomMaps] = {
    "CenterRingVRayCompleteMap_off.jpg", "CenterRingVRayCompleteMap_on.jpg",
    "FloorVRayCompleteMap_off.jpg",      "FloorVRayCompleteMap_on.jpg",
    "Lamp05VRayCompleteMap_off.jpg",     "Lamp05VRayCompleteMap_on.jpg",
    "Pipe11VRayCompleteMap_off.jpg",     "Pipe11VRayCompleteMap_on.jpg",
    "Soejle03VRayCompleteMap_off.jpg",   "Soejle03VRayCompleteMap_on.jpg",
    "sun_particle_ambientgasses.png"};
} // namespace

void load_credits_room_meshes(std::unique_ptr<iMesh> room[kCreditsRoomMeshes]) {
    cResourcePath::instance()->push_searchpath("../data/models/credits");
    for (int k = 0; k < kCreditsRoomMeshes; ++k)
        room[k] = load_scene_mesh(kRoomMeshes[k], false);
}

void load_credits_room_maps(cTexProxy maps[kCreditsRoomMaps]) {
    cTextureManager* textures = cTextureManager::instance();
    for (int k = 0; k < kCreditsRoomMaps; ++k)
        maps[k] = textures->get_texture(kRoomMaps[k], true, GL_CLAMP);
}

void draw_credits_room(const std::unique_ptr<iMesh> room[kCreditsRoomMeshes],
                       const cTexProxy maps[kCreditsRoomMaps]) {
    cProfileScope scope("meshes");
    for (int k = 0; k < kCreditsRoomMeshes; ++k) {
        const cTexProxy& off = maps[2 * k];
        const cTexProxy& on = maps[2 * k + 1];
        ext::glActiveTextureARB(GL_TEXTURE0_ARB);
        off.enable();
        off.bind();
        ext::glActiveTextureARB(GL_TEXTURE1_ARB);
        on.enable();
        on.bind();
        room[k]->draw();
        on.unbind();
        on.disable();
        ext::glActiveTextureARB(GL_TEXTURE0_ARB);
        off.unbind();
        off.disable();
    }
}

void reset_credits_camera(cCamera& camera) {
    camera.m_near = 10.0f;
    camera.m_far = 2500.0f;
    camera.m_fov = 85.0f;
    camera.m_aspect = cDisplaySettings::instance()->render_aspect();
    camera.m_eye = Vec3f(-493.99f, 366.07f, 80.4f);
    camera.m_center = Vec3f(0.0f, 150.0f, -185.06f);
    camera.m_up = Vec3f(0.0f, 1.0f, 0.0f).normalized();
}

std::unique_ptr<iMesh> load_credits_maps_sphere_and_shader(cTexProxy maps[kCreditsRoomMaps]) {
    load_credits_room_maps(maps);
    std::unique_ptr<iMesh> sphere = load_scene_mesh("credit_sphere.bzobj", false);
    cShaderManager_GLSL::instance()->add_shader<cShdLightmap>("lightmap_shader");
    return sphere;
}

void set_credits_room_blend(float blend) {
    cShaderParameter<float> parameter(blend);
    cShaderManager_GLSL::instance()->set_parameter("lightmap_shader", cShdLightmap::SP_BLEND,
                                                   &parameter);
}
