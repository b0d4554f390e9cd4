#include "scan/report_file.h"

#include <windows.h>

#include <cstdint>

namespace {

bool IsUnusableByte(unsigned char c)
{
    return c < 0x20 || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' ||
           c == '"' || c == '<' || c == '>' || c == '|';
}

// CON, PRN, AUX, NUL, COM1-COM9 and LPT1-LPT9 name devices, whatever extension
// follows, so "CON.txt" would not be a file.
bool IsDeviceName(const Text& name)
{
    Text base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = static_cast<char>(FoldAZ(static_cast<unsigned char>(c)));
    if (base == "con" || base == "prn" || base == "aux" || base == "nul") return true;
    return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

// Same test as the whole-file writer: not every layer enforces it (Wine run by root).
bool IsReadOnlyFile(const Text& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) ==
               FILE_ATTRIBUTE_READONLY;
}

// In bounded pieces; a failure after some of them leaves a part the caller cuts off again.
bool WriteAllAt(HANDLE file, std::int64_t offset, const char* bytes, std::size_t size)
{
    const std::size_t kPiece = 64 * 1024;
    while (size > 0) {
        DWORD piece = static_cast<DWORD>(size > kPiece ? kPiece : size);
        OVERLAPPED where = {};
        where.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(offset));
        where.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
        DWORD written = 0;
        if (!WriteFile(file, bytes, piece, &written, &where) || written == 0) return false;
        bytes += written;
        size -= written;
        offset += written;
    }
    return true;
}

}  // namespace

Text ReportFileName(const Text& note)
{
    Text name;
    name.reserve(note.size() + 1);
    for (std::size_t i = 0; i < note.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(note[i]);
        if (IsLeadByte(c)) {
            // A whole two-byte character stays, whatever its second byte; a lead
            // byte cut off at the end is no character.
            if (i + 1 == note.size()) {
                name += '_';
            } else {
                name.append(note, i, 2);
                ++i;
            }
        } else {
            name += IsUnusableByte(c) ? '_' : static_cast<char>(c);
        }
    }
    if (IsDeviceName(name)) name.insert(0, 1, '_');
    return name;
}

Text ReportPath(const Text& resultFolder, const Text& note)
{
    return resultFolder + "\\" + ReportFileName(note) + ".txt";
}

bool AppendToReport(const Text& path, const Text& addition)
{
    if (path.empty() || IsReadOnlyFile(path)) return false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool created = GetLastError() != ERROR_ALREADY_EXISTS;
    LARGE_INTEGER oldLength;
    const bool sized = GetFileSizeEx(file, &oldLength) != 0;
    const bool ok = sized && WriteAllAt(file, oldLength.QuadPart, addition.data(), addition.size());
    if (sized && !ok) {
        // Back to the old end, so no part of the addition stays behind.
        SetFilePointerEx(file, oldLength, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
    }
    const bool closed = CloseHandle(file) != 0;
    // A report that got no record does not exist, as before the attempt.
    if (!ok && created) DeleteFileA(path.c_str());
    return ok && closed;
}
