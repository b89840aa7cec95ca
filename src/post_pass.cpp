#include "post_pass.h"

#include "gl_entry.h"
#include "render_fsq.h"
#include "render_target.h"

void begin_pass() {
    begin_fsq(); // pushes the enable bits, so blending comes back with end_fsq
    glDisable(GL_BLEND);
}

void end_pass() {
    end_fsq();
}

void select_texture_unit(int unit) {
    ext::glActiveTextureARB(GL_TEXTURE0_ARB + unit);
}

void draw_target(const iRenderTarget& target) {
    draw_quad(float(target.get_width()), float(target.get_height()));
}
