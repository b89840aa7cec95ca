// Per-frame costs of the effects' simulations.
#include "effects/attractor_calculator_pickover.h"
#include "effects/mesh_emitter.h"
#include "effects/point_splat.h"
#include "effects/scrub.h"
#include "math/random.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {
// The attractor scene computes this many points per frame.
constexpr int POINTS_PER_FRAME = 150000;
const float PICKOVER_PARAMS[4] = {2.24f, 0.43f, -0.65f, -2.43f};

void BM_AttractorTables(benchmark::State& state) {
    cAttractorCalculator_pickover calc;
    std::vector<float> out(3 * POINTS_PER_FRAME);
    calc.restart(out.data(), 0, PICKOVER_PARAMS);
    for (auto _ : state) {
        calc.calculate(out.data(), POINTS_PER_FRAME, PICKOVER_PARAMS);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * POINTS_PER_FRAME);
}
BENCHMARK(BM_AttractorTables)->Unit(benchmark::kMillisecond);

// The same map and noise with the C library's sine and cosine, for comparison.
void BM_AttractorLibrarySinCos(benchmark::State& state) {
    cAttractorCalculator_pickover calc; // for its noise table
    const std::vector<double>& noise = calc.noise();
    const double amp = calc.m_noise_amplitude;
    const double a = PICKOVER_PARAMS[0], b = PICKOVER_PARAMS[1], c = PICKOVER_PARAMS[2],
                 d = PICKOVER_PARAMS[3];
    std::vector<float> out(3 * POINTS_PER_FRAME);
    double x = 0, y = 0, z = 0;
    int n = 0;
    for (auto _ : state) {
        float* p = out.data();
        for (int i = 0; i < POINTS_PER_FRAME; ++i) {
            double nx = std::sin(a * y) - z * std::cos(b * x);
            double ny = z * std::sin(c * x) - std::cos(d * y);
            double nz = std::sin(x);
            p[0] = float(nx);
            p[1] = float(ny);
            p[2] = float(nz);
            p += 3;
            x = nx + noise[std::size_t(n)] * amp;
            y = ny + noise[std::size_t(n + 1) % noise.size()] * amp;
            z = nz + noise[std::size_t(n + 2) % noise.size()] * amp;
            n = (n + 3) % int(noise.size());
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * POINTS_PER_FRAME);
}
BENCHMARK(BM_AttractorLibrarySinCos)->Unit(benchmark::kMillisecond);

// Both attractor clouds (750,000 points) splatted into the letterboxed
// scene target as two-pixel points, as the scene does on a software
// rasteriser. Argument 1: tested against a depth buffer, as the gases are.
void BM_PointSplat(benchmark::State& state) {
    constexpr int points = 5 * POINTS_PER_FRAME;
    cAttractorCalculator_pickover calc;
    std::vector<float> xyz(3 * points);
    calc.restart(xyz.data(), points, PICKOVER_PARAMS);
    // The cloud's -2 to 2 across most of the picture.
    const float clip_from_object[16] = {0.4f, 0, 0, 0, 0, 0.55f, 0, 0, 0, 0, 0.1f, 0, 0, 0, 0, 1};
    const float color[4] = {0.57f, 0.35f, 1.0f, 0.05f};
    // A depth buffer that hides every other column of the picture.
    std::vector<std::uint32_t> depth_values(1024 * 640);
    for (std::size_t i = 0; i < depth_values.size(); ++i)
        depth_values[i] = i % 2 ? 0u : 0xffffffffu;
    sSplatDepthTest depth;
    depth.values = depth_values.data();
    cPointSplat splat;
    for (auto _ : state) {
        splat.reset(1024, 640);
        splat.add(xyz.data(), points, clip_from_object, 1.7f, color,
                  state.range(0) ? &depth : nullptr);
        benchmark::DoNotOptimize(splat.pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * points);
}
BENCHMARK(BM_PointSplat)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Travel at speed 10 and 60 frames per second for 20 seconds after the
// pre-growth: mean and worst time of one frame's update. Argument: spline mode.
void BM_ScrubUpdate(benchmark::State& state) {
    const int frames = 20 * 60;
    const float step = 10.0f / 60.0f;
    double worst = 0.0, total = 0.0;
    long runs = 0;
    for (auto _ : state) {
        vt_srand(1335);
        cScrubSpline scrub;
        scrub.m_useSpline = state.range(0) != 0;
        // Pre-growth as the scene's load does it: the first call grows the
        // tunnel ahead, the second finalises it in one go.
        scrub.update(0.0f, 14.0f);
        scrub.update(0.0f, 14.0f);
        float now = step;
        double run_us = 0.0;
        for (int f = 0; f < frames; ++f) {
            auto t0 = std::chrono::steady_clock::now();
            scrub.update(now, now + 14.0f);
            auto t1 = std::chrono::steady_clock::now();
            double us = std::chrono::duration<double, std::micro>(t1 - t0).count();
            worst = std::max(worst, us);
            run_us += us;
            now += step;
        }
        benchmark::DoNotOptimize(scrub.batcher().blocks().size());
        // Only the travelling frames count, not the set-up and pre-growth.
        state.SetIterationTime(run_us * 1.0e-6);
        total += run_us;
        ++runs;
    }
    state.counters["frame_us"] = total / double(runs * frames);
    state.counters["worst_frame_us"] = worst;
}
BENCHMARK(BM_ScrubUpdate)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

// One update of a full emitter: 99,999 particles moved, tested and written out.
void BM_EmitterUpdateFull(benchmark::State& state) {
    // A fan of 200 triangles around the origin.
    std::vector<float> positions{0, 0, 0};
    std::vector<std::int32_t> indices;
    for (int i = 0; i <= 200; ++i) {
        double angle = i * 2.0 * M_PI / 200.0;
        positions.insert(positions.end(),
                         {float(std::cos(angle)), float(std::sin(angle)), float(0.1 * (i % 3))});
        if (i > 0)
            indices.insert(indices.end(), {0, i, i + 1});
    }
    vt_srand(1);
    cMeshEmitter emitter({&positions, &indices});
    emitter.m_rate = 100000.0f;
    while (emitter.particle_count() < 99999)
        emitter.update(0.0f);
    emitter.m_rate = 10000.0f;
    for (auto _ : state) {
        emitter.update(0.016f);
        benchmark::DoNotOptimize(emitter.positions().data());
    }
    state.counters["particles"] = emitter.particle_count();
}
BENCHMARK(BM_EmitterUpdateFull)->Unit(benchmark::kMillisecond);
} // namespace
