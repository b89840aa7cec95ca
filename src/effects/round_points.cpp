#include "effects/round_points.h"

#include "effects/round_points_cpu.h"
#include "effects/round_points_sprites.h"
#include "renderer_traits.h"

std::unique_ptr<iRoundPoints> iRoundPoints::create() {
    if (cRendererTraits::instance()->software_rasteriser())
        return std::make_unique<cRoundPoints_cpu>();
    return std::make_unique<cRoundPoints_sprites>();
}
