// Hue, saturation and brightness shifts: hue in degrees, saturation and
// brightness in percent.
#pragma once

#include "math/vec3.h"

class cGuiVarList;
class iRenderTarget;

// Registers the HSB shader once, on first use.
class cPostHSB {
public:
    static cPostHSB* instance();
    static void destroy();

private:
    cPostHSB();
    static cPostHSB* s_instance;
};

// values: (hue, saturation, brightness).
void apply_hsb(Vec3f values, iRenderTarget& input);
void apply_hsb_into(iRenderTarget& output, Vec3f values, iRenderTarget& input);
// "hue" [-180, 180], "saturation" and "brightness" [-100, 100].
void add_hsb_vars(cGuiVarList* list, Vec3f* values);
