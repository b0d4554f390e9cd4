// The skin: the library written out beside the program and the embedded skin attached.
#pragma once

#include "core/text.h"

// Writes the embedded library to `folder`\SkinH_EL.dll, hidden, unless something
// (file or folder) is already there.
void WriteSkinLibrary(const Text& folder);

// WriteSkinLibrary, then hands a copy of the embedded skin to the library. False
// when the library cannot be loaded or lacks its export (the caller then ends).
bool AttachSkin(const Text& folder);

extern const char* const kSkinLibraryName;    // "SkinH_EL.dll"
extern const char* const kSkinExportName;     // "SkinH_AttachRes"
extern const char* const kSkinFailedMessage;  // names both
