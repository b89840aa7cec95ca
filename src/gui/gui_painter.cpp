#include "gui/gui_painter.h"

namespace {
iGuiPainter* g_painter = nullptr;
}

iGuiPainter* gui_painter() {
    return g_painter;
}

void set_gui_painter(iGuiPainter* painter) {
    g_painter = painter;
}
