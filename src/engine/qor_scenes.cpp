// The scene base's window rule; render and init do nothing until a scene
// kind gives them content.
#include "engine/qor_scenes.h"

void qor_genericscene::render(int32_t) {}
void qor_genericscene::init() {}

float qor_genericscene::progress(int32_t time) const {
    if (starttime == 0 && endtime == 0) return -1.0f;
    if (starttime <= time && time < endtime) {
        return static_cast<float>(static_cast<double>(time - starttime) /
                                  static_cast<double>(endtime - starttime));
    }
    return -1.0f;
}
