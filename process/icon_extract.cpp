#include "process/icon_extract.h"

#include <cstdlib>
#include <vector>

#include "core/files.h"
#include "process/icon_file.h"

namespace {

Text KindOf(const Text& path)
{
    Text kind = path.size() >= 3 ? path.substr(path.size() - 3) : Text();
    for (char& c : kind) c = static_cast<char>(FoldAZ(static_cast<unsigned char>(c)));
    return kind;
}

// A resource name as enumerated: an identifier or a string, kept beyond the callback.
struct ResourceName {
    WORD id = 0;
    Text text;
    LPCSTR Get() const { return text.empty() ? MAKEINTRESOURCEA(id) : text.c_str(); }
};

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param)
{
    auto* names = reinterpret_cast<std::vector<ResourceName>*>(param);
    ResourceName n;
    if (IS_INTRESOURCE(name))
        n.id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
    else
        n.text = name;
    names->push_back(n);
    return TRUE;
}

Bytes ResourceBytes(HMODULE module, LPCSTR name, LPCSTR type)
{
    HRSRC found = FindResourceA(module, name, type);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const DWORD size = SizeofResource(module, found);
    const auto* data = static_cast<const std::uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    return data ? Bytes(data, data + size) : Bytes();
}

// The images named by an icon group: 6-byte header, then 14-byte entries whose
// last two bytes are the identifier of an RT_ICON resource.
std::vector<Bytes> ImagesOfGroup(HMODULE module, const Bytes& group)
{
    std::vector<Bytes> images;
    if (group.size() < 6) return images;
    const std::size_t count = group[4] | group[5] << 8;
    for (std::size_t i = 0; i < count && 6 + 14 * (i + 1) <= group.size(); ++i) {
        const std::size_t entry = 6 + 14 * i;
        const WORD id = static_cast<WORD>(group[entry + 12] | group[entry + 13] << 8);
        Bytes image = ResourceBytes(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3) /* RT_ICON */);
        if (FormatOfIconImage(image).readable) images.push_back(std::move(image));
    }
    return images;
}

ExtractedIcon FromModule(const Text& path)
{
    ExtractedIcon icon;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return icon;
    std::vector<ResourceName> groups;
    EnumResourceNamesA(module, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, CollectName,
                       reinterpret_cast<LONG_PTR>(&groups));
    if (!groups.empty()) {
        const Bytes group = ResourceBytes(module, groups.front().Get(), MAKEINTRESOURCEA(14));
        icon.file = ComposeIconFile(ImagesOfGroup(module, group));
        if (!icon.file.empty()) icon.groups = static_cast<int>(groups.size());
    }
    FreeLibrary(module);
    return icon;
}

ExtractedIcon FromIconFile(const Text& path)
{
    ExtractedIcon icon;
    icon.file = ComposeIconFile(ImagesOfIconFile(ReadWholeFile(path)));
    if (!icon.file.empty()) icon.groups = 1;
    return icon;
}

}  // namespace

ExtractedIcon ExtractIconBytes(const Text& source)
{
    const Text kind = KindOf(source);
    if (kind == "exe" || kind == "dll" || kind == "icl") return FromModule(source);
    if (kind == "ico") return FromIconFile(source);
    return {};
}

int ExtractIconFile(const Text& source, const Text& destination)
{
    const ExtractedIcon icon = ExtractIconBytes(source);
    if (icon.groups == 0) return 0;
    WriteWholeFile(destination, icon.file);
    return icon.groups;
}

HICON IconFromIconFile(const Bytes& file, int size)
{
    const std::vector<Bytes> images = ImagesOfIconFile(file);
    const Bytes* best = nullptr;
    IconImageFormat bestFormat;
    for (const Bytes& image : images) {
        const IconImageFormat f = FormatOfIconImage(image);
        const int distance = std::abs(f.width - size), bestDistance = std::abs(bestFormat.width - size);
        if (!best || distance < bestDistance ||
            (distance == bestDistance && f.bitCount > bestFormat.bitCount)) {
            best = &image;
            bestFormat = f;
        }
    }
    if (!best) return nullptr;
    return CreateIconFromResourceEx(const_cast<PBYTE>(best->data()), static_cast<DWORD>(best->size()),
                                    TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR);
}
