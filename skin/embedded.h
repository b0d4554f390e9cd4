// The two blocks of bytes the program carries for its skin.
#pragma once

// The default skin, in the format of skin/skin_format.h; begins with ".SHE".
const unsigned char* EmbeddedSkin();
constexpr int kEmbeddedSkinSize = 16746;

// The file SkinH_EL.dll of this build's architecture, zero-padded to its fixed size.
const unsigned char* EmbeddedSkinLibrary();
constexpr int kEmbeddedSkinLibrarySize = 100933;
