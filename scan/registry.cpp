#include "scan/registry.h"

#include <windows.h>

namespace {

HKEY RootKey(int root)
{
    switch (root) {
    case 1: return HKEY_CLASSES_ROOT;
    case 2: return HKEY_CURRENT_CONFIG;
    case 4: return HKEY_LOCAL_MACHINE;
    case 5: return HKEY_USERS;
    default: return HKEY_CURRENT_USER;
    }
}

struct ValuePath {
    Text key;
    Text value;
};

// At the last backslash by characters, so a second byte 0x5C is no separator.
ValuePath SplitValuePath(const Text& path)
{
    const int cut = FindLastText(path, "\\");
    if (cut == -1) return {Text(), path};
    return {LeftText(path, cut - 1), RightText(path, TextLength(path) - cut)};
}

class OpenKey {
public:
    OpenKey(int root, const Text& key, REGSAM access)
    {
        if (RegOpenKeyExA(RootKey(root), key.c_str(), 0, access, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~OpenKey()
    {
        if (key_) RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    HKEY Handle() const { return key_; }

private:
    HKEY key_ = nullptr;
};

const int kFirstRoot = 1;
const int kLastRoot = 5;

}  // namespace

bool RegistryValueExists(int root, const Text& path)
{
    const ValuePath where = SplitValuePath(path);
    OpenKey key(root, where.key, KEY_READ);
    if (!key.Handle()) return false;
    return RegQueryValueExA(key.Handle(), where.value.c_str(), nullptr, nullptr, nullptr,
                            nullptr) == ERROR_SUCCESS;
}

bool DeleteRegistryEntry(int root, const Text& path)
{
    const ValuePath where = SplitValuePath(path);
    {
        OpenKey key(root, where.key, KEY_WRITE);
        if (key.Handle() && RegDeleteValueA(key.Handle(), where.value.c_str()) == ERROR_SUCCESS)
            return true;
    }
    return RegDeleteKeyA(RootKey(root), path.c_str()) == ERROR_SUCCESS;
}

Text StripRootNames(const Text& path)
{
    static const char* const kRootNames[] = {"HKEY_CLASSES_ROOT\\", "HKEY_CURRENT_USER\\",
                                             "HKEY_LOCAL_MACHINE\\", "HKEY_USERS\\",
                                             "HKEY_CURRENT_CONFIG\\"};
    Text stripped = path;
    for (const char* name : kRootNames) stripped = ReplaceText(stripped, name, "", true);
    return stripped;
}

bool ExistsUnderAnyRoot(const Text& path)
{
    const Text stripped = StripRootNames(path);
    for (int root = kFirstRoot; root <= kLastRoot; ++root)
        if (RegistryValueExists(root, stripped)) return true;
    return false;
}

bool DeleteUnderAnyRoot(const Text& path)
{
    const Text stripped = StripRootNames(path);
    for (int root = kFirstRoot; root <= kLastRoot; ++root)
        if (DeleteRegistryEntry(root, stripped)) return true;
    return false;
}
