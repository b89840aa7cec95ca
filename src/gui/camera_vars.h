// Tweak variables of a scene camera, shared by the scenes that expose one.
#pragma once

class cCamera;
class cGuiVarList;

// Registers "cam-eye" and "cam-its" (eye point and centre of view, each with
// [min, max]) and "cam-fov" (vertical field of view, [20, 160] degrees).
void add_camera_vars(cCamera* camera, cGuiVarList* list, float min, float max);
