// Number and byte-array conversions.
#pragma once

#include <cstdint>
#include <vector>

#include "core/text.h"

using Bytes = std::vector<std::uint8_t>;

Text NumberToText(int value);     // "%d"
Text NumberToText(double value);  // "%.13g"
double TextToNumber(const Text& text);

Bytes TextToBytes(const Text& text);
Text BytesToText(const Bytes& bytes);  // up to the first NUL
int BytesLength(const Bytes& bytes);
