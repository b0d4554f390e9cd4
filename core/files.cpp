#include "core/files.h"

#include <windows.h>

#include <cstdint>
#include <new>
#include <vector>

#include "core/md5.h"

namespace {

// Checked by characters, so the second byte of a two-byte character that
// happens to be 0x5C is not taken for a separator.
int LastBackslash(const Text& path) { return FindLastText(path, "\\"); }

bool EndsWithBackslash(const Text& path)
{
    return !path.empty() && LastBackslash(path) == TextLength(path);
}

// Whole-file readers let others read on but not write meanwhile.
HANDLE OpenForWholeRead(const Text& path)
{
    if (path.empty()) return INVALID_HANDLE_VALUE;
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

// Names that open a device rather than a directory entry.
bool IsDeviceName(Text name)
{
    name = name.substr(0, name.find('.'));
    for (char& c : name) c = static_cast<char>(FoldAZ(static_cast<unsigned char>(c)));
    if (name == "con" || name == "prn" || name == "aux" || name == "nul") return true;
    return name.size() == 4 && (name.compare(0, 3, "com") == 0 || name.compare(0, 3, "lpt") == 0) &&
           name[3] >= '1' && name[3] <= '9';
}

// The entry a directory search for `path` finds: its attributes and low size.
bool FindEntry(const Text& path, DWORD& attributes, DWORD& sizeLow)
{
    if (path.empty() || EndsWithBackslash(path)) return false;
    // A plain name (no wildcard, not a root, ".", ".." or a device) names the one
    // entry a search would find; asking for its attributes is ten times cheaper.
    const int slash = LastBackslash(path);
    const Text name = slash > 0 ? path.substr(static_cast<size_t>(slash)) : Text();
    if (!name.empty() && name.find_first_of("*?") == Text::npos && name != "." && name != ".." &&
        !IsDeviceName(name)) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
            attributes = data.dwFileAttributes;
            sizeLow = data.nFileSizeLow;
            return true;
        }
    }
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(path.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    attributes = entry.dwFileAttributes;
    sizeLow = entry.nFileSizeLow;
    return true;
}

OVERLAPPED At(std::int64_t offset)
{
    OVERLAPPED where = {};
    where.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(offset));
    where.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
    return where;
}

// Writes every byte at `offset` of a handle opened without FILE_FLAG_OVERLAPPED.
bool WriteAllAt(HANDLE file, std::int64_t offset, const void* data, std::size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        DWORD piece = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        OVERLAPPED where = At(offset);
        DWORD written = 0;
        if (!WriteFile(file, bytes, piece, &written, &where) || written == 0) return false;
        bytes += written;
        size -= written;
        offset += written;
    }
    return true;
}

// Windows refuses write access to a read-only file; asked here as well, since not
// every layer underneath enforces it (Wine run by root does not).
bool IsReadOnlyFile(const Text& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) ==
               FILE_ATTRIBUTE_READONLY;
}

bool IsMarker(unsigned char c) { return c == 0x00 || c == 0x1A; }

}  // namespace

Text ProgramFolder()
{
    std::vector<char> name(MAX_PATH);
    while (name.size() <= 65536) {
        DWORD size = GetModuleFileNameA(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (size == 0) return Text();
        if (size < name.size()) {
            Text path(name.data(), size);
            int cut = LastBackslash(path);
            return cut > 0 ? LeftText(path, cut - 1) : Text();
        }
        name.resize(name.size() * 2);  // cut short: try a larger buffer
    }
    return Text();
}

Bytes ReadWholeFile(const Text& path)
{
    HANDLE file = OpenForWholeRead(path);
    if (file == INVALID_HANDLE_VALUE) return Bytes();
    Bytes data;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) != 0 && size.QuadPart >= 0 &&
              static_cast<std::uint64_t>(size.QuadPart) <= data.max_size();
    if (ok) {
        try {
            data.resize(static_cast<std::size_t>(size.QuadPart));
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    std::size_t done = 0;
    while (ok && done < data.size()) {
        std::size_t left = data.size() - done;
        DWORD piece = left > (16u << 20) ? (16u << 20) : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!ReadFile(file, data.data() + done, piece, &got, nullptr)) ok = false;
        else if (got == 0) break;  // the file shrank meanwhile
        done += got;
    }
    CloseHandle(file);
    if (!ok) return Bytes();
    data.resize(done);
    return data;
}

bool WriteWholeFile(const Text& path, std::initializer_list<const Bytes*> parts)
{
    if (path.empty() || IsReadOnlyFile(path)) return false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    std::int64_t offset = 0;
    for (const Bytes* part : parts) {
        if (!ok) break;
        ok = WriteAllAt(file, offset, part->data(), part->size());
        offset += static_cast<std::int64_t>(part->size());
    }
    return CloseHandle(file) != 0 && ok;
}

bool FileExists(const Text& path)
{
    DWORD attributes, sizeLow;
    return FindEntry(path, attributes, sizeLow);
}

int FileSize(const Text& path)
{
    DWORD attributes, sizeLow;
    if (!FindEntry(path, attributes, sizeLow)) return -1;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
    return static_cast<int>(sizeLow);
}

bool ChangeFileAttributes(const Text& path, int attributes)
{
    DWORD kept = static_cast<DWORD>(attributes) &
                 (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                  FILE_ATTRIBUTE_ARCHIVE);
    return SetFileAttributesA(path.c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL) != 0;
}

bool CreateFolder(const Text& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

Text FileMd5Text(const Text& path, const std::function<bool()>& proceed)
{
    HANDLE file = OpenForWholeRead(path);
    if (file == INVALID_HANDLE_VALUE) return Md5Text(nullptr, 0);
    std::vector<std::uint8_t> chunk;
    try {
        chunk.resize(1u << 20);
    } catch (const std::bad_alloc&) {
        CloseHandle(file);
        return Text();
    }
    Md5 digest;
    bool first = true;
    bool failed = false;
    for (;;) {
        if (!first && proceed && !proceed()) {
            CloseHandle(file);
            return Text();
        }
        first = false;
        DWORD got = 0;
        if (!ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) {
            failed = true;
            break;
        }
        if (got == 0) break;
        digest.Update(chunk.data(), got);
    }
    CloseHandle(file);
    // A read error leaves the whole file unread, as ReadWholeFile does.
    return failed ? Md5Text(nullptr, 0) : digest.FinishText();
}

// ---- Files read and written piece by piece ----

struct FileObject {
    static constexpr std::size_t kBufferSize = 64 * 1024;

    HANDLE file = INVALID_HANDLE_VALUE;
    bool readable = false;
    std::int64_t position = 0;  // where the next read or write happens
    // Bytes of the file from bufferStart on, as last read; dropped by every write.
    std::int64_t bufferStart = 0;
    std::size_t bufferSize = 0;
    char buffer[kBufferSize];
};

namespace {

enum class Fill { kReady, kEnd, kError };

// Makes the byte at the position available in the buffer.
Fill FillAtPosition(FileObject& f)
{
    if (f.position >= f.bufferStart &&
        f.position < f.bufferStart + static_cast<std::int64_t>(f.bufferSize))
        return Fill::kReady;
    f.bufferSize = 0;
    OVERLAPPED where = At(f.position);
    DWORD got = 0;
    if (!ReadFile(f.file, f.buffer, FileObject::kBufferSize, &got, &where)) {
        return GetLastError() == ERROR_HANDLE_EOF ? Fill::kEnd : Fill::kError;
    }
    if (got == 0) return Fill::kEnd;
    f.bufferStart = f.position;
    f.bufferSize = got;
    return Fill::kReady;
}

std::int64_t FileLength(const FileObject& f)
{
    LARGE_INTEGER size;
    return GetFileSizeEx(f.file, &size) ? size.QuadPart : -1;
}

}  // namespace

FileHandle FileOpen(const Text& path, int mode, int share)
{
    static const struct { DWORD access, disposition; } kModes[] = {
        {GENERIC_READ, OPEN_EXISTING},
        {GENERIC_WRITE, OPEN_EXISTING},
        {GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING},
        {GENERIC_WRITE, CREATE_ALWAYS},
        {GENERIC_WRITE, OPEN_ALWAYS},
        {GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS},
    };
    static const DWORD kShares[] = {FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_SHARE_WRITE,
                                    FILE_SHARE_READ, 0};
    if (path.empty() || mode < 1 || mode > 6 || share < 1 || share > 4) return nullptr;
    if ((kModes[mode - 1].access & GENERIC_WRITE) && IsReadOnlyFile(path)) return nullptr;
    FileObject* f = new (std::nothrow) FileObject;
    if (!f) return nullptr;
    f->file = CreateFileA(path.c_str(), kModes[mode - 1].access, kShares[share - 1], nullptr,
                          kModes[mode - 1].disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f->file == INVALID_HANDLE_VALUE) {
        delete f;
        return nullptr;
    }
    f->readable = (kModes[mode - 1].access & GENERIC_READ) != 0;
    return f;
}

Text FileReadLine(FileHandle handle)
{
    if (!handle) return Text();
    FileObject& f = *handle;
    Text line;
    bool takeNext = false;  // a lead byte ended the last buffer: its second byte follows
    bool first = true;
    try {
        for (;;) {
            Fill fill = FillAtPosition(f);
            if (fill == Fill::kEnd) break;
            if (fill == Fill::kError) {
                std::int64_t length = FileLength(f);
                if (length > f.position) f.position = length;
                return Text();
            }
            const auto* data =
                reinterpret_cast<const unsigned char*>(f.buffer) + (f.position - f.bufferStart);
            std::size_t available =
                static_cast<std::size_t>(f.bufferStart + f.bufferSize - f.position);
            // Standing on a NUL or Ctrl-Z, step over it, so no reader can stand still.
            if (first && IsMarker(data[0])) {
                ++f.position;
                return Text();
            }
            first = false;
            std::size_t i = 0;
            if (takeNext) {
                i = 1;
                takeNext = false;
            }
            bool stop = false;
            while (i < available) {
                unsigned char c = data[i];
                if (c == '\n' || IsMarker(c)) {
                    stop = true;
                    break;
                }
                if (c >= 0x80) {
                    if (i + 1 == available) takeNext = true;
                    i += takeNext ? 1 : 2;
                } else {
                    ++i;
                }
            }
            line.append(reinterpret_cast<const char*>(data), i);
            f.position += static_cast<std::int64_t>(i);
            if (stop) {
                if (data[i] == '\n') ++f.position;
                break;
            }
        }
    } catch (const std::bad_alloc&) {
        return Text();
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

bool FileAtEnd(FileHandle handle, bool stopAtMarker)
{
    if (!handle) return true;
    FileObject& f = *handle;
    if (f.readable) {
        Fill fill = FillAtPosition(f);
        if (fill == Fill::kEnd) return true;
        if (fill == Fill::kReady)
            return stopAtMarker &&
                   IsMarker(static_cast<unsigned char>(f.buffer[f.position - f.bufferStart]));
    }
    // Opened for writing only, or the read failed: compare with the file's length.
    std::int64_t length = FileLength(f);
    return length < 0 || f.position >= length;
}

bool FileWriteText(FileHandle handle, std::initializer_list<Text> values)
{
    if (!handle) return false;
    FileObject& f = *handle;
    f.bufferSize = 0;
    std::int64_t offset = f.position;
    for (const Text& value : values) {
        if (!WriteAllAt(f.file, offset, value.data(), value.size())) return false;
        offset += static_cast<std::int64_t>(value.size());
    }
    f.position = offset;
    return true;
}

// Writes go straight to the system, so nothing is pending here but the handle.
void FileClose(FileHandle handle)
{
    if (!handle) return;
    CloseHandle(handle->file);
    delete handle;
}
