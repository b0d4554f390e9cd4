// Whole files, folders, attributes and files read or written piece by piece.
// Failures are results: the empty array, false, -1 or the handle 0.
#pragma once

#include <functional>
#include <initializer_list>

#include "core/numbers.h"
#include "core/datetime.h"

// The folder of the program's executable, without a trailing backslash.
Text ProgramFolder();

// Opened for reading, others may read but not write.
Bytes ReadWholeFile(const Text& path);
// Created or emptied, exclusive; the arrays written one after the other.
bool WriteWholeFile(const Text& path, std::initializer_list<const Bytes*> parts);
template <class... More>
bool WriteWholeFile(const Text& path, const Bytes& first, const More&... more)
{
    return WriteWholeFile(path, {&first, &more...});
}

// Through a directory search: wildcards allowed in the last part, folders count.
bool FileExists(const Text& path);
int FileSize(const Text& path);  // low 32 bits as signed; -1 when nothing is found
bool ChangeFileAttributes(const Text& path, int attributes);
bool CreateFolder(const Text& path);

// MD5 text of a file read as ReadWholeFile reads it, streamed through a bounded
// buffer. `proceed` is asked between chunks; when it answers false the digest is
// abandoned and the empty text returned.
Text FileMd5Text(const Text& path, const std::function<bool()>& proceed = {});

struct FileObject;
using FileHandle = FileObject*;  // nullptr (0) stands for no file

// mode 1..6 and share 1..4 as the tables of the program's file conventions say.
FileHandle FileOpen(const Text& path, int mode = 3, int share = 1);
Text FileReadLine(FileHandle handle);
bool FileAtEnd(FileHandle handle, bool stopAtMarker = false);
// Texts unchanged, numbers and date-times in their text forms; no separators.
bool FileWriteText(FileHandle handle, std::initializer_list<Text> values);
inline Text TextFormOf(const Text& v) { return v; }
inline Text TextFormOf(const char* v) { return Text(v); }
inline Text TextFormOf(int v) { return NumberToText(v); }
inline Text TextFormOf(double v) { return NumberToText(v); }
inline Text TextFormOf(const DateTime& v) { return DateTimeToText(v); }
template <class First, class... More>
bool FileWriteText(FileHandle handle, const First& first, const More&... more)
{
    return FileWriteText(handle, {TextFormOf(first), TextFormOf(more)...});
}
void FileClose(FileHandle handle);
