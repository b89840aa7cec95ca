// Geometry loading costs: parsing a large mesh file and a long camera path.
#include "mesh_files/bzobj_parser.h"
#include "mesh_files/bzobj_writer.h"
#include "mesh_files/camera_path.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {
// A grid of (n+1) x (n+1) vertices with normals and texture coordinates,
// 2 n^2 triangles in four material bands.
sMeshData make_grid(int n) {
    sMeshData mesh;
    mesh.m_flags = MESH_HAS_TEXCOORDS | MESH_HAS_NORMALS | MESH_DRAW_BY_MATERIAL;
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x) {
            const float u = float(x) / float(n), v = float(y) / float(n);
            mesh.m_pos.insert(mesh.m_pos.end(), {u, std::sin(u * 6.0f) * 0.1f, v});
            mesh.m_norm.insert(mesh.m_norm.end(), {0.0f, 1.0f, 0.0f});
            mesh.m_tex0.insert(mesh.m_tex0.end(), {u, v});
        }
    mesh.m_matswitches.push_back(0);
    for (int y = 0; y < n; ++y) {
        if (y > 0 && y % (n / 4) == 0)
            mesh.m_matswitches.push_back(int32_t(mesh.m_indices.size()));
        for (int x = 0; x < n; ++x) {
            const int32_t a = y * (n + 1) + x, b = a + 1, c = a + n + 1, d = c + 1;
            mesh.m_indices.insert(mesh.m_indices.end(), {a, c, b, b, c, d});
        }
    }
    mesh.m_matswitches.push_back(int32_t(mesh.m_indices.size()));
    for (std::size_t m = 0; m + 1 < mesh.m_matswitches.size(); ++m)
        mesh.m_materials.emplace_back("band" + std::to_string(m));
    return mesh;
}

std::string make_path(int keys) {
    std::string text;
    char line[160];
    for (int k = 0; k < keys; ++k) {
        std::snprintf(line, sizeof line,
                      "[%.4f, %.4f, %.4f] [%.4f, %.4f, %.4f] [0.0000, 0.0000, 1.0000]\n", k * 0.5,
                      std::sin(k * 0.01) * 40.0, 12.25, k * 0.5 + 3.0, 0.0, 10.0);
        text += line;
    }
    return text;
}
} // namespace

// 224 x 224 x 2 = 100 352 triangles.
static void BM_ParseBzObj100kTriangles(benchmark::State& state) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!bzobj_encode(make_grid(224), &bytes, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        sMeshData mesh;
        sBzObjError parse_error;
        benchmark::DoNotOptimize(
            bzobj_parse(bytes.data(), bytes.size(), "grid.bzobj", &mesh, &parse_error));
        benchmark::DoNotOptimize(mesh.m_indices.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
    state.counters["file_bytes"] = double(bytes.size());
}
BENCHMARK(BM_ParseBzObj100kTriangles)->Unit(benchmark::kMillisecond);

// The payload alone: the parser without inflating.
static void BM_ParseBzObjPayload100kTriangles(benchmark::State& state) {
    std::vector<uint8_t> payload;
    std::string error;
    if (!bzobj_encode_payload(make_grid(224), &payload, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        sMeshData mesh;
        sBzObjError parse_error;
        benchmark::DoNotOptimize(
            bzobj_parse_payload(payload.data(), payload.size(), "grid", &mesh, &parse_error));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(payload.size()));
}
BENCHMARK(BM_ParseBzObjPayload100kTriangles)->Unit(benchmark::kMillisecond);

static void BM_LoadCameraPath10kKeys(benchmark::State& state) {
    const std::string text = make_path(10000);
    for (auto _ : state) {
        cCameraPath path;
        path.load_text(text.data(), text.size());
        benchmark::DoNotOptimize(path.keys().data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_LoadCameraPath10kKeys)->Unit(benchmark::kMillisecond);

static void BM_EvaluateCameraPath(benchmark::State& state) {
    const std::string text = make_path(10000);
    cCameraPath path;
    path.load_text(text.data(), text.size());
    float t = 0.0f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(path.eye_at(t));
        t += 0.000013f;
        if (t > 1.0f)
            t = 0.0f;
    }
}
BENCHMARK(BM_EvaluateCameraPath);
