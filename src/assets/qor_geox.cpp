// Loading .geox meshes (counts, then x z y u v per vertex, then three indices
// per face) and computing the normals the file does not carry; no GL here
// (qor_geox_draw.cpp draws them).
#include "assets/qor_geox.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "assets/little_endian.h"
#include "assets/load_error.h"
#include "platform/platform.h"

namespace {

constexpr int64_t header_bytes = 8;
constexpr int64_t vertex_bytes = 20;
constexpr int64_t face_bytes = 12;

// Faces per vertex while averaging normals; kept between calls because the
// water mesh recomputes its normals every frame.
std::vector<int32_t> vertex_uses;

// The box names the file and the fault, so that the file can be replaced.
[[noreturn]] void corrupted_geox(const char* file_name, const std::string& detail) {
    end_with_load_message("CORRUPTED GEOX FILE!!!\n\"" + std::string(file_name) + "\": " + detail,
                          platform::MB_OK);
}

void read_vertex(const unsigned char* bytes, TGeoxVertex& vertex) {
    // The file's second axis is the mesh's z, its third the vertical y.
    vertex.x = load_le_float(bytes);
    vertex.z = load_le_float(bytes + 4);
    vertex.y = load_le_float(bytes + 8);
    vertex.u = load_le_float(bytes + 12);
    vertex.v = load_le_float(bytes + 16);
}

}  // namespace

void load_geox(TGeoxData& mesh, const char* file_name) {
    const std::vector<unsigned char> file = read_data_file(file_name);
    const geox_fault fault = parse_geox(mesh, file.data(), file.size());
    if (fault.corrupted) corrupted_geox(file_name, fault.reason);
    if (!fault.reason.empty()) fatal_load_error(file_name, fault.reason.c_str());
}

geox_fault parse_geox(TGeoxData& mesh, const unsigned char* bytes, size_t byte_count) {
    const int64_t size = static_cast<int64_t>(byte_count);
    if (size < header_bytes) {
        return {false, "the file is " + std::to_string(size) + " bytes, too short for the two counts"};
    }
    const int32_t vertex_count = load_le_int32(bytes);
    const int32_t face_count = load_le_int32(bytes + 4);
    if (vertex_count < 0 || face_count < 0) {
        return {true, "negative count (" + std::to_string(vertex_count) + " vertices, " +
                          std::to_string(face_count) + " faces)"};
    }
    // Checked before anything is allocated, so a bad header cannot ask for
    // gigabytes.
    const int64_t needed = header_bytes + vertex_bytes * vertex_count + face_bytes * face_count;
    if (size < needed) {
        return {false, "the file is " + std::to_string(size) + " bytes but its " +
                           std::to_string(vertex_count) + " vertices and " +
                           std::to_string(face_count) + " faces need " + std::to_string(needed)};
    }
    mesh.vertex_count = vertex_count;
    mesh.face_count = face_count;
    mesh.vertices.assign(static_cast<size_t>(vertex_count), TGeoxVertex{});
    mesh.faces.assign(static_cast<size_t>(face_count), TGeoxFace{});
    const unsigned char* cursor = bytes + header_bytes;
    for (TGeoxVertex& vertex : mesh.vertices) {
        read_vertex(cursor, vertex);
        cursor += vertex_bytes;
    }
    for (int32_t f = 0; f < face_count; ++f) {
        TGeoxFace& face = mesh.faces[static_cast<size_t>(f)];
        face.i0 = load_le_int32(cursor);
        face.i1 = load_le_int32(cursor + 4);
        face.i2 = load_le_int32(cursor + 8);
        cursor += face_bytes;
        // Negative values are as wrong as values at or above the count:
        // neither may index the vertex array.
        for (int32_t index : {face.i0, face.i1, face.i2}) {
            if (index < 0 || index >= vertex_count) {
                return {true, "face " + std::to_string(f) + " names vertex " +
                                  std::to_string(index) + " of " + std::to_string(vertex_count)};
            }
        }
    }
    return {};
}

void compute_face_normals(TGeoxData& mesh) {
    for (TGeoxFace& face : mesh.faces) {
        const TGeoxVertex& p0 = mesh.vertices[static_cast<size_t>(face.i0)];
        const TGeoxVertex& p1 = mesh.vertices[static_cast<size_t>(face.i1)];
        const TGeoxVertex& p2 = mesh.vertices[static_cast<size_t>(face.i2)];
        const float ax = p2.x - p1.x, ay = p2.y - p1.y, az = p2.z - p1.z;
        const float bx = p0.x - p2.x, by = p0.y - p2.y, bz = p0.z - p2.z;
        const double nx = static_cast<double>(ay) * bz - static_cast<double>(by) * az;
        const double ny = static_cast<double>(az) * bx - static_cast<double>(bz) * ax;
        const double nz = static_cast<double>(ax) * by - static_cast<double>(bx) * ay;
        const float length = static_cast<float>(std::sqrt(nx * nx + ny * ny + nz * nz));
        // A degenerate face keeps its zero normal.
        const double divisor = length != 0 ? length : 1.0;
        face.nx = static_cast<float>(nx / divisor);
        face.ny = static_cast<float>(ny / divisor);
        face.nz = static_cast<float>(nz / divisor);
    }
}

void compute_vertex_normals(TGeoxData& mesh) {
    std::vector<int32_t>& uses = vertex_uses;
    uses.assign(mesh.vertices.size(), 0);
    for (TGeoxVertex& vertex : mesh.vertices) vertex.nx = vertex.ny = vertex.nz = 0;
    for (const TGeoxFace& face : mesh.faces) {
        // A face that names one vertex twice adds to it twice.
        for (int32_t index : {face.i0, face.i1, face.i2}) {
            TGeoxVertex& vertex = mesh.vertices[static_cast<size_t>(index)];
            vertex.nx += face.nx;
            vertex.ny += face.ny;
            vertex.nz += face.nz;
            ++uses[static_cast<size_t>(index)];
        }
    }
    for (size_t i = 0; i < mesh.vertices.size(); ++i) {
        if (uses[i] == 0) continue;
        TGeoxVertex& vertex = mesh.vertices[i];
        const float count = static_cast<float>(uses[i]);
        vertex.nx /= count;
        vertex.ny /= count;
        vertex.nz /= count;
    }
}
