// Drawing steps shared by the environment scenes.
#include "scenes/environment_steps.h"

#include <GL/gl.h>

#include "assets/qor_geox.h"
#include "assets/scene_globaldata.h"
#include "engine/qor_views.h"

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
    begin_overlay();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(red, green, blue, alpha);
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glVertex2f(screen_width, 0);
    glVertex2f(screen_width, screen_height);
    glVertex2f(0, screen_height);
    glEnd();
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    end_overlay();
}
