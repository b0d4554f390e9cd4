// The icon of an executable, library or icon file, as icon file bytes.
#pragma once

#include <windows.h>

#include "core/numbers.h"

struct ExtractedIcon {
    int groups = 0;  // icon groups of the source (1 for an icon file); 0: no usable icon
    Bytes file;      // icon file of the first group's images; empty when groups is 0
};

// By the path's last three bytes, case ignored: "exe", "dll" and "icl" are
// loaded as data files and give their first icon group in the platform's
// enumeration order; "ico" is read as an icon file; anything else gives nothing.
ExtractedIcon ExtractIconBytes(const Text& source);

// Writes the icon of `source` to `destination` (replacing it) and returns the
// number of icon groups; 0 when the source has no usable icon and nothing was written.
int ExtractIconFile(const Text& source, const Text& destination);

// An icon made from the image of an icon file nearest to `size` pixels, from memory;
// nullptr when there is none. The caller destroys it.
HICON IconFromIconFile(const Bytes& file, int size);
