// One function per generated image. Each returns the finished picture at
// the size its use in the show requires; content_images.cpp says where it
// goes.
#pragma once

#include "image.h"

namespace imagegen {

// Attractor scene: the violet and blue background behind the point clouds.
cImage make_ifs_back();

// Solar flares: the sun's surface, the flare gases, the flare's fade
// gradient and a soft gas puff.
cImage make_sun_diffuse();
cImage make_flare_gasses();
cImage make_flare_gradient();
cImage make_ambient_gasses();

// Colour-correction lookups, one entry per 8-bit input value.
cImage make_orange_lookup();
cImage make_coldblue_lookup();

// Lettering: the GUI's bitmap font, the credit title cards (index 1 to 5),
// the closing picture and the two logo bands of the scrub scene.
cImage make_fontlist();
cImage make_credit_card(int index);
cImage make_logo_full();
cImage make_logo_top();
cImage make_logo_bottom();

} // namespace imagegen
