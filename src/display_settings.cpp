#include "display_settings.h"

cDisplaySettings* cDisplaySettings::s_instance = nullptr;

cDisplaySettings* cDisplaySettings::instance() {
    if (!s_instance)
        s_instance = new cDisplaySettings();
    return s_instance;
}

void cDisplaySettings::destroy() {
    delete s_instance;
    s_instance = nullptr;
}
