// datagen OUTDIR: writes the demo's data folder. The soundtrack is
// synthesized on a second thread while the pictures and meshes are made.
#include <cstdio>
#include <filesystem>
#include <future>

#include "datagen.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: datagen OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        std::fprintf(stderr, "datagen: cannot create %s: %s\n", dir.c_str(),
                     error.message().c_str());
        return 1;
    }
    auto music = std::async(std::launch::async, [&] { return write_soundtrack(dir); });
    const bool pictures = write_textures(dir) && write_meshes(dir) && write_cameras(dir);
    const bool soundtrack = music.get();
    return pictures && soundtrack ? 0 : 1;
}
