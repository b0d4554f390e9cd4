// The standard icon file (ICO) layout: reading its images and writing images
// into one. Platform-free.
#pragma once

#include <vector>

#include "core/numbers.h"

// What a directory entry says of one image, read from the image itself.
struct IconImageFormat {
    bool readable = false;
    int width = 0;
    int height = 0;  // of the colour part: half a bitmap's stored height
    int planes = 0;
    int bitCount = 0;
};

// An image as icon resources and icon files store it: a device-independent
// bitmap (header, colours, colour bits, mask) or a PNG stream.
IconImageFormat FormatOfIconImage(const Bytes& image);

// The images of an icon file in directory order; empty when the bytes are no
// well-formed icon file (wrong header, no image, an entry outside the file, an
// image that is neither bitmap nor PNG).
std::vector<Bytes> ImagesOfIconFile(const Bytes& file);

// The icon file holding `images` in this order: the 6-byte header, a 16-byte
// entry per image, then the image data back to back. Empty when `images` is
// empty or one of them is unreadable.
Bytes ComposeIconFile(const std::vector<Bytes>& images);
