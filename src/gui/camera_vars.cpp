#include "gui/camera_vars.h"

#include "camera.h"
#include "gui/gui_var_list.h"

void add_camera_vars(cCamera* camera, cGuiVarList* list, float min, float max) {
    list->add_vec3("cam-eye", &camera->m_eye, min, max);
    list->add_vec3("cam-its", &camera->m_center, min, max);
    list->add_float("cam-fov", &camera->m_fov, 20.0f, 160.0f);
}
