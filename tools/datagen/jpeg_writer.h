// Writes the generator's float images as baseline JPEG files through libjpeg.
#pragma once

#include <string>

#include "image.h"

// Colour pictures and greyscale alpha companions. Values are clamped to
// [0, 1]; a tiny fixed dither keeps dark gradients from banding. Each
// returns false after printing a message to stderr when the file cannot
// be written.
bool save_jpeg(const std::string& path, const Image& image, int quality = 92);
bool save_jpeg(const std::string& path, const Plane& plane, int quality = 97);
