// The loading progress bar: a light grey screen with a dark slanted bar that
// grows from left to right. Lives only while the scenes load; it restores the
// GL state it changed when it goes.
#pragma once

#include "load_screen.h"

class cLoadScreen_SK : public iLoadScreen {
public:
    cLoadScreen_SK();
    ~cLoadScreen_SK();
    cLoadScreen_SK(const cLoadScreen_SK&) = delete;
    cLoadScreen_SK& operator=(const cLoadScreen_SK&) = delete;

    void progress(float fraction) override;

    // The bar's corners for a fraction, in screen units (x of 1024, y of 768).
    static void bar_corners(float fraction, float (&xy)[8]);

    int m_saved_viewport[4];
    float m_saved_clear_color[4];
};
