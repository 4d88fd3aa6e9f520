// Small images made in memory for the end-to-end tests of thumbnails and texture
// compression, and a look at the size of an image file.
#pragma once
#include <string>

namespace qtest {

// A width x height image with a colour gradient, as a "png", "jpg", "tga" or "bmp" file;
// with `alpha` (not for "jpg") the left half is half transparent.
std::string MakeImage(const std::string& type, int width, int height, bool alpha);
// Width and height of an encoded image (PNG, JPEG, ...); false when it is not one.
bool ImageSize(const std::string& bytes, int& width, int& height);

}  // namespace qtest
