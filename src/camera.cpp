#include "camera.h"

#include "display_settings.h"

cCamera::cCamera() : m_aspect(cDisplaySettings::instance()->render_aspect()) {}
