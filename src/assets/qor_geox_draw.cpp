// Drawing .geox meshes in immediate mode: one triangle per face, with
// texture coordinates, face normals or vertex normals as asked.
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

void begin_list(uint32_t& list) {
    if (list != 0) glDeleteLists(list, 1);
    list = glGenLists(1);
    glNewList(list, GL_COMPILE);
}
