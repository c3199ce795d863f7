// write_meshes: every .geox file of the data folder, group by group.
#include "meshes.h"

#include "datagen.h"

bool save_mesh(const std::string& dir, const std::string& name, const Mesh& mesh) {
    return write_geox(dir + "/" + name + ".geox", mesh);
}

bool write_meshes(const std::string& dir) {
    return write_meadow_meshes(dir) && write_sea_meshes(dir) && write_city_meshes(dir) && write_space_meshes(dir) &&
           write_logo_mesh(dir);
}
