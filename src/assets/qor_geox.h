// The .geox triangle-mesh format: loading, immediate-mode drawing and the
// face and vertex normals the file does not carry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TGeoxVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};

struct TGeoxFace {
    int32_t i0, i1, i2;
    float nx, ny, nz;
};

struct TGeoxData {
    uint32_t list = 0;  // a display list the caller compiled, never touched by the loader
    int32_t face_count = 0;
    int32_t vertex_count = 0;
    std::vector<TGeoxVertex> vertices;
    std::vector<TGeoxFace> faces;
};

// File order per vertex: x, z, y, u, v. A face index outside the vertex
// range shows "CORRUPTED GEOX FILE!!!" and ends the program; a missing or
// short file is a fatal load error naming the file.
void load_geox(TGeoxData& mesh, const char* file_name);
// What is wrong with the bytes of a mesh file: nothing (an empty reason), a
// file too short for its counts, or a corrupt one (a negative count, or a
// face index outside the vertex range).
struct geox_fault {
    bool corrupted = false;
    std::string reason;
};
geox_fault parse_geox(TGeoxData& mesh, const unsigned char* bytes, size_t size);
void draw_geox(const TGeoxData& mesh, bool with_texcoords, bool with_face_normals,
               bool with_vertex_normals);
void draw_geox_normals(const TGeoxData& mesh);
void draw_geox_textured(const TGeoxData& mesh);
// Starts compiling the display list named by `list` (glEndList ends it): the
// list the name held before, if any, is deleted first, so that data loaded
// again leaves no list behind.
void begin_list(uint32_t& list);
void compute_face_normals(TGeoxData& mesh);
void compute_vertex_normals(TGeoxData& mesh);
