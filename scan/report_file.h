// The report files of a scan: one per note in the scan folder.
#pragma once

#include "core/text.h"

// A note as a file name: bytes a file name cannot hold (\ / : * ? " < > | and
// control bytes) become "_", and a device name (CON, NUL, COM1 ...) gets a "_"
// in front; every other note, two-byte characters included, stays as it is.
Text ReportFileName(const Text& note);
// resultFolder + "\" + ReportFileName(note) + ".txt"
Text ReportPath(const Text& resultFolder, const Text& note);
// Adds `addition` at the end of the file, creating it when missing. When the
// write fails the file keeps its old content whole (and a file made for it is
// removed again). True on success.
bool AppendToReport(const Text& path, const Text& addition);
