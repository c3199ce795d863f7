// Stand-ins for scene tests: an environment that records the local times it
// is rendered with and paints one flat colour, swaps of a scene slot or of a
// texture-table entry that undo themselves, and small pixel measures.
#pragma once

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "assets/scene_globaldata.h"
#include "engine/qor_scenes.h"

class recording_scene : public qor_genericscene {
public:
    recording_scene(float red, float green, float blue) : colour{red, green, blue} {}
    std::vector<int32_t> times;
    void render(int32_t time) override {
        times.push_back(time);
        glClearColor(colour[0], colour[1], colour[2], 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

private:
    float colour[3];
};

// Puts a scene into a slot for the lifetime of the swap.
class scene_swap {
public:
    scene_swap(qor_genericscene*& target, qor_genericscene* scene) : slot(target), saved(target) {
        target = scene;
    }
    ~scene_swap() { slot = saved; }
    scene_swap(const scene_swap&) = delete;
    scene_swap& operator=(const scene_swap&) = delete;

private:
    qor_genericscene*& slot;
    qor_genericscene* saved;
};

// A 4x4 texture of one RGBA colour.
inline uint32_t flat_texture(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
    uint32_t name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    std::vector<uint8_t> texels;
    for (int i = 0; i < 16; ++i) texels.insert(texels.end(), {red, green, blue, alpha});
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return name;
}

// Serves another texture under a catalogue name for the lifetime of the swap.
class texture_swap {
public:
    texture_swap(const char* name, uint32_t texture) {
        const uint32_t current = find_texture(texture_table, name);
        if (current == 0) throw std::runtime_error("no such texture in the catalogue");
        for (int i = 0; i < texture_table.count; ++i) {
            if (texture_table.textures[i] == current) {
                index = i;
                break;
            }
        }
        saved = texture_table.textures[index];
        texture_table.textures[index] = texture;
    }
    ~texture_swap() { texture_table.textures[index] = saved; }
    texture_swap(const texture_swap&) = delete;
    texture_swap& operator=(const texture_swap&) = delete;

private:
    int index = 0;
    uint32_t saved = 0;
};

// Brightest channel value inside a rectangle of a read_frame() picture.
inline int max_channel(const std::vector<uint8_t>& frame, int x0, int y0, int x1, int y1) {
    int strongest = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            for (int c = 0; c < 3; ++c) {
                strongest = std::max<int>(strongest, frame[(static_cast<size_t>(y) * 640 + x) * 3 + c]);
            }
        }
    }
    return strongest;
}

// Sum of all channel values inside a rectangle.
inline double channel_sum(const std::vector<uint8_t>& frame, int x0, int y0, int x1, int y1) {
    double sum = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            for (int c = 0; c < 3; ++c) sum += frame[(static_cast<size_t>(y) * 640 + x) * 3 + c];
        }
    }
    return sum;
}
