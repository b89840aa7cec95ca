// libFuzzer target for the .bzobj loader's checks, parser and writer. Each
// input is tried as a whole file (through the loader, all but reading the
// file and exiting) and as an inflated payload (random bytes rarely survive zlib's
// checksum, so the payload parser is reached directly too). Every mesh the
// parser accepts must survive a round trip through the writer unchanged.
#include "mesh_files/bzobj_loader.h"
#include "mesh_files/bzobj_parser.h"
#include "mesh_files/bzobj_writer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
bool same_bits(const void* a, const void* b, std::size_t bytes) {
    return bytes == 0 || std::memcmp(a, b, bytes) == 0;
}

template <typename T>
bool same_vector(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() && same_bits(a.data(), b.data(), a.size() * sizeof(T));
}

bool same_mesh(const sMeshData& a, const sMeshData& b) {
    if (a.m_flags != b.m_flags || !same_vector(a.m_pos, b.m_pos) ||
        !same_vector(a.m_norm, b.m_norm) || !same_vector(a.m_tex0, b.m_tex0) ||
        a.m_indices != b.m_indices || a.m_matswitches != b.m_matswitches ||
        a.m_materials.size() != b.m_materials.size())
        return false;
    for (std::size_t m = 0; m < a.m_materials.size(); ++m) {
        const cMaterial_data &x = a.m_materials[m], &y = b.m_materials[m];
        if (x.m_name != y.m_name || x.m_texnames != y.m_texnames ||
            !same_bits(x.m_ambient, y.m_ambient, 16) || !same_bits(x.m_diffuse, y.m_diffuse, 16) ||
            !same_bits(x.m_specular, y.m_specular, 16) ||
            !same_bits(&x.m_shininess, &y.m_shininess, 4) || x.m_illum != y.m_illum ||
            !same_bits(&x.m_opacity, &y.m_opacity, 4) || !same_bits(&x.m_scalar2, &y.m_scalar2, 4))
            return false;
    }
    return true;
}

void check_round_trip(const sMeshData& mesh) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!bzobj_encode(mesh, &bytes, &error))
        std::abort(); // a mesh the parser accepts must be writable
    sMeshData again;
    sBzObjError parse_error;
    if (!bzobj_parse(bytes.data(), bytes.size(), "again", &again, &parse_error) ||
        !same_mesh(mesh, again))
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sMeshData mesh;
    std::string report;
    if (bobj_read(data, size, "fuzz.bzobj", &mesh, &report))
        check_round_trip(mesh);
    else if (report.find("fuzz.bzobj") == std::string::npos)
        std::abort(); // every refusal names the file
    sBzObjError error;
    if (bzobj_parse_payload(data, size, "fuzz.payload", &mesh, &error))
        check_round_trip(mesh);
    return 0;
}
