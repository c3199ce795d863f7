// Drawing steps shared by the environment scenes.
#include "scenes/environment_steps.h"

#include <GL/gl.h>

#include "assets/qor_geox.h"
#include "assets/scene_globaldata.h"
#include "scenes/scene_intro.h"

void bind_named_texture(const char* name) {
    glBindTexture(GL_TEXTURE_2D, find_texture(texture_table, name));
}

void compile_mesh_list(TGeoxData& mesh, void (*draw)(const TGeoxData&)) {
    mesh.list = glGenLists(1);
    glNewList(mesh.list, GL_COMPILE);
    draw(mesh);
    glEndList();
}

void call_list_pushed(uint32_t list) {
    glPushMatrix();
    glCallList(list);
    glPopMatrix();
}

void draw_screen_veil(float red, float green, float blue, float alpha) {
    glDisable(GL_DEPTH_TEST);
    tint_screen(GL_ONE_MINUS_SRC_ALPHA, red, green, blue, alpha);
}
