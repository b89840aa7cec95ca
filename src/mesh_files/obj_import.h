// Wavefront OBJ and MTL files turned into mesh data, for the content tools.
// tinyobjloader reads the text; polygons are triangulated here as fans, vertices that differ in
// position, normal or texture coordinate become separate vertices, and triangles are grouped by
// material in the order the MTL files define them. GL-free.
#pragma once

#include "mesh_files/material_data.h"
#include "mesh_files/mesh_data.h"

#include <cstddef>
#include <string>
#include <vector>

struct sObjCorner {
    int v = -1;  // position, 0-based
    int vt = -1; // texture coordinate, -1 when the corner has none
    int vn = -1; // normal, -1 when the corner has none
};

struct sObjFace {
    int material = -1; // index into sObjModel::m_material_names, -1 before any usemtl
    std::vector<sObjCorner> corners;
};

struct sObjModel {
    std::vector<float> m_positions; // x, y, z
    std::vector<float> m_texcoords; // u, v
    std::vector<float> m_normals;   // x, y, z
    std::vector<sObjFace> m_faces;
    std::vector<std::string> m_material_names; // as named by usemtl, first use first
    std::vector<std::string> m_mtllibs;        // as named by mtllib
};

// Appends the materials of MTL text: newmtl, Ka, Kd, Ks (colours get alpha =
// opacity), Ns, illum, d, map_Ka, map_Kd (the rest of the line after any
// options). A statement a material lacks leaves the value at zero (opacity
// 1); statements before the first newmtl, others and malformed numbers are
// read as tinyobjloader reads them: ignored, or 0.
void mtl_parse(const char* text, std::size_t size, std::vector<cMaterial_data>* materials);

// Reads OBJ text: v, vt, vn, f (v, v/vt, v//vn, v/vt/vn, negative indices
// counting back), usemtl, mtllib. Other statements are ignored. False with
// a reason naming the line for a face corner out of range or without a
// position, a face of fewer than 3 corners, a usemtl without a name and a
// number too large for a float.
bool obj_parse(const char* text, std::size_t size, sObjModel* model, std::string* error);

// Builds the mesh. Materials come from the library by name, in library
// order; a name the library lacks gets a default material (and a warning),
// faces before any usemtl a default material named "default" placed first.
// A model without usemtl gives a mesh without materials. Texture coordinates
// and normals are present when any corner has them (the others get zeros);
// with compute_normals, corners without a normal get the smooth normal of
// their position (area-weighted average of the adjacent faces).
bool obj_build_mesh(const sObjModel& model, const std::vector<cMaterial_data>& library,
                    bool compute_normals, sMeshData* mesh, std::string* error,
                    std::vector<std::string>* warnings);

// Reads an OBJ file and the MTL files it names (relative to its folder) and builds the mesh.
bool obj_import_file(const std::string& obj_path, bool compute_normals, sMeshData* mesh,
                     std::string* error, std::vector<std::string>* warnings);
