#include "core/skin_attach.h"

#include <windows.h>

#include <vector>

#include "core/files.h"
#include "skin/embedded.h"

const char* const kSkinLibraryName = "SkinH_EL.dll";
const char* const kSkinExportName = "SkinH_AttachRes";
const char* const kSkinFailedMessage =
    "无法加载皮肤库 SkinH_EL.dll 或找不到其导出函数 SkinH_AttachRes，程序将退出。";

using AttachResFn = int(__stdcall*)(const unsigned char*, int, const char*, int, int, int);

void WriteSkinLibrary(const Text& folder)
{
    const Text path = ConcatTexts(folder, "\\", kSkinLibraryName);
    if (FileExists(path)) return;
    const Bytes library(EmbeddedSkinLibrary(), EmbeddedSkinLibrary() + kEmbeddedSkinLibrarySize);
    WriteWholeFile(path, library);
    ChangeFileAttributes(path, 2);
}

bool AttachSkin(const Text& folder)
{
    WriteSkinLibrary(folder);
    HMODULE library = LoadLibraryA(ConcatTexts(folder, "\\", kSkinLibraryName).c_str());
    auto attach = library ? reinterpret_cast<AttachResFn>(
                                reinterpret_cast<void*>(GetProcAddress(library, kSkinExportName)))
                          : nullptr;
    if (!attach) return false;
    // The library gets a copy that is released as soon as the call returns.
    std::vector<unsigned char> copy(EmbeddedSkin(), EmbeddedSkin() + kEmbeddedSkinSize);
    attach(copy.data(), kEmbeddedSkinSize, "", 0, 0, 0);
    return true;
}
