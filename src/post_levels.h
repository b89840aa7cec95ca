// Levels on a 0 to 255 scale: the input range is stretched to the output
// range through a gamma curve.
#pragma once

class cGuiVarList;
class iRenderTarget;

struct sLevelsValues {
    float in_black = 0.0f;
    float in_white = 255.0f;
    float gamma = 1.0f;
    float out_black = 0.0f;
    float out_white = 255.0f;
};

// Registers the levels shader once, on first use.
class cPostLevels {
public:
    static cPostLevels* instance();
    static void destroy();

private:
    cPostLevels();
    static cPostLevels* s_instance;
};

// Draws the input through levels into the bound framebuffer.
void apply_levels(iRenderTarget& input, sLevelsValues values);
void apply_levels_into(iRenderTarget& output, iRenderTarget& input, sLevelsValues values);
// "in black", "in white", "gamma", "out black", "out white".
void add_levels_vars(cGuiVarList* list, sLevelsValues* values);
