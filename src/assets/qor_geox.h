// The .geox triangle-mesh format: loading, immediate-mode drawing, drawing
// from client arrays, and the face and vertex normals the file does not carry.
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
// For meshes reshaped every frame, drawn with glDrawElements instead of a
// list compiled anew: the same corners in the same order give the same
// pixels. The faces' corners, three per face in face order:
std::vector<uint32_t> face_corner_indices(const TGeoxData& mesh);
// Client arrays over the mesh's vertices: corners, and texture coordinates
// and vertex normals as asked. end_mesh_arrays turns all three off and puts
// their pointers back to the initial values.
void begin_mesh_arrays(const TGeoxData& mesh, bool with_texcoords, bool with_vertex_normals);
void end_mesh_arrays();
// The current vertex normal and texture coordinates as asked, set as drawing
// the whole mesh in immediate mode leaves them: from its last face's last
// corner (nothing for a mesh without faces).
void leave_last_corner_state(const TGeoxData& mesh, bool with_texcoords, bool with_vertex_normals);
// Starts compiling the display list named by `list` (glEndList ends it): the
// list the name held before, if any, is deleted first, so that data loaded
// again leaves no list behind.
void begin_list(uint32_t& list);
void compute_face_normals(TGeoxData& mesh);
void compute_vertex_normals(TGeoxData& mesh);
