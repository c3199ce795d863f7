// Drawing .geox meshes in immediate mode: one triangle per face, with
// texture coordinates, face normals or vertex normals as asked; and the
// client arrays that draw reshaped meshes the same way.
#include "assets/qor_geox.h"

#include <GL/gl.h>

#include <cstddef>

namespace {

void emit_corner(const TGeoxVertex& vertex, bool with_texcoords, bool with_vertex_normals) {
    if (with_vertex_normals) glNormal3f(vertex.nx, vertex.ny, vertex.nz);
    if (with_texcoords) glTexCoord2f(vertex.u, vertex.v);
    glVertex3f(vertex.x, vertex.y, vertex.z);
}

}  // namespace

void draw_geox(const TGeoxData& mesh, bool with_texcoords, bool with_face_normals,
               bool with_vertex_normals) {
    glBegin(GL_TRIANGLES);
    for (const TGeoxFace& face : mesh.faces) {
        if (with_face_normals) glNormal3f(face.nx, face.ny, face.nz);
        for (int32_t index : {face.i0, face.i1, face.i2}) {
            emit_corner(mesh.vertices[static_cast<size_t>(index)], with_texcoords,
                        with_vertex_normals);
        }
    }
    glEnd();
}

void draw_geox_normals(const TGeoxData& mesh) { draw_geox(mesh, false, false, true); }

void draw_geox_textured(const TGeoxData& mesh) { draw_geox(mesh, true, false, false); }

std::vector<uint32_t> face_corner_indices(const TGeoxData& mesh) {
    std::vector<uint32_t> indices;
    indices.reserve(mesh.faces.size() * 3);
    for (const TGeoxFace& face : mesh.faces) {
        for (int32_t index : {face.i0, face.i1, face.i2}) indices.push_back(static_cast<uint32_t>(index));
    }
    return indices;
}

void begin_mesh_arrays(const TGeoxData& mesh, bool with_texcoords, bool with_vertex_normals) {
    const TGeoxVertex* vertices = mesh.vertices.data();
    constexpr GLsizei stride = sizeof(TGeoxVertex);
    glVertexPointer(3, GL_FLOAT, stride, &vertices->x);
    glEnableClientState(GL_VERTEX_ARRAY);
    if (with_vertex_normals) {
        glNormalPointer(GL_FLOAT, stride, &vertices->nx);
        glEnableClientState(GL_NORMAL_ARRAY);
    }
    if (with_texcoords) {
        glTexCoordPointer(2, GL_FLOAT, stride, &vertices->u);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    }
}

void end_mesh_arrays() {
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(4, GL_FLOAT, 0, nullptr);
    glNormalPointer(GL_FLOAT, 0, nullptr);
    glTexCoordPointer(4, GL_FLOAT, 0, nullptr);
}

void leave_last_corner_state(const TGeoxData& mesh, bool with_texcoords, bool with_vertex_normals) {
    if (mesh.faces.empty()) return;
    const TGeoxVertex& last = mesh.vertices[static_cast<size_t>(mesh.faces.back().i2)];
    if (with_vertex_normals) glNormal3f(last.nx, last.ny, last.nz);
    if (with_texcoords) glTexCoord2f(last.u, last.v);
}

void begin_list(uint32_t& list) {
    if (list != 0) glDeleteLists(list, 1);
    list = glGenLists(1);
    glNewList(list, GL_COMPILE);
}
