// The scene base: a half-open window of music time and two operations.
#pragma once

#include <cstdint>

class qor_genericscene {
public:
    int32_t starttime = 0;
    int32_t endtime = 0;

    virtual ~qor_genericscene() = default;
    virtual void render(int32_t time);
    virtual void init();

    // (time - start) / (end - start) inside [start, end), else -1; a scene
    // whose window is [0, 0) always answers -1.
    float progress(int32_t time) const;
};
