// Profile (.ini) files through the system's private-profile functions.
#pragma once

#include "core/text.h"

// Cut to 10239 bytes. Leading bytes <= 0x20 of file, section and key are skipped;
// when one of them is then empty the result is the empty text.
Text ReadIniValue(const Text& file, const Text& section, const Text& key,
                  const Text& fallback = Text());
bool WriteIniValue(const Text& file, const Text& section, const Text& key, const Text& value);
