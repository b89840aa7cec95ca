// Reads the bytes of a .bzobj mesh file into mesh data. Never exits and never
// reads outside its input or the inflated payload: every fault comes back as
// an error that names the file, so the program's loader, the tools and the
// fuzzer all run this same code.
//
// File: uncompressed size (u32), compressed size (u32), one zlib stream.
// Payload, little-endian, no padding: flags (u8); vertex, face and material
// counts (i32); positions; normals (flags & 0x02); texture coordinates
// (flags & 0x01); three delta-coded corner planes; one material change marker
// per face; the material records.
#pragma once

#include "mesh_files/mesh_data.h"

#include <cstddef>
#include <cstdint>
#include <string>

enum eBzObjError {
    BZOBJ_OK = 0,
    BZOBJ_BAD_HEADER,      // file too short for its header, or the stream does not fit
    BZOBJ_TOO_LARGE,       // claimed uncompressed size beyond what the stream can hold
    BZOBJ_ZLIB,            // inflating failed; m_value is zlib's code
    BZOBJ_VERTEX_COUNT,    // no_verts not positive; m_value is the count
    BZOBJ_FACE_COUNT,      // no_faces not positive; m_value is the count
    BZOBJ_MATERIAL_COUNT,  // no_materials negative; m_value is the count
    BZOBJ_TRUNCATED,       // a count or a string length runs past the payload's end
    BZOBJ_NEGATIVE_LENGTH, // a material string length below 0
    BZOBJ_MARKER,          // a material change marker (second onwards) negative
    BZOBJ_INDEX_RANGE,     // a decoded index outside 0 .. no_verts-1
};

struct sBzObjError {
    eBzObjError m_code = BZOBJ_OK;
    int64_t m_value = 0;   // the offending value, see eBzObjError
    int64_t m_where = 0;   // face, material or index position where it applies
    std::string m_message; // "<file>: <what went wrong>"
};

// The largest payload a file may claim, whatever its stream: a mesh of that
// size is far beyond anything the show loads.
constexpr uint32_t BZOBJ_MAX_PAYLOAD = 1u << 30;
// Deflate never packs more than 1032 bytes into one; a claimed payload beyond
// that ratio cannot be real and is refused before anything is allocated.
constexpr uint64_t BZOBJ_MAX_RATIO = 1032;

// The whole file. On failure the mesh is left cleared.
bool bzobj_parse(const uint8_t* data, std::size_t size, const std::string& file_name,
                 sMeshData* mesh, sBzObjError* error);

// The inflated payload alone.
bool bzobj_parse_payload(const uint8_t* data, std::size_t size, const std::string& file_name,
                         sMeshData* mesh, sBzObjError* error);
