// Writes mesh data as a .bzobj file, the exact inverse of the parser: what
// bzobj_parse reads back from the bytes equals the mesh that was written.
#pragma once

#include "mesh_files/mesh_data.h"

#include <cstdint>
#include <string>
#include <vector>

// The inflated payload. False, with a reason in *error, for a mesh the format
// cannot hold or the parser would refuse: no vertices or faces, array sizes
// that disagree with each other or with the flags, indices outside the
// vertices, a switch list that does not start at 0, rise in whole faces and
// end at the index count, names longer than 127 bytes or holding a zero byte.
bool bzobj_encode_payload(const sMeshData& mesh, std::vector<uint8_t>* payload, std::string* error);

// The whole file: sizes and the payload compressed with zlib's one-shot compressor.
bool bzobj_encode(const sMeshData& mesh, std::vector<uint8_t>* bytes, std::string* error);

// Encodes and writes to a file.
bool bzobj_write_file(const sMeshData& mesh, const std::string& path, std::string* error);
