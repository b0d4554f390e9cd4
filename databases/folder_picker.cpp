#include "databases/folder_picker.h"

#include <shlobj.h>

#include <vector>

namespace {

// The callback reads the initial folder through the program state; the dialog
// runs on the calling thread, so one pointer serves.
ProgramState* browsingState = nullptr;

}  // namespace

int CALLBACK BrowseCallback(HWND dialog, UINT event, LPARAM argument, LPARAM /*userData*/)
{
    if (event == BFFM_INITIALIZED && browsingState) {
        SendMessageA(dialog, BFFM_SETSELECTIONA, 1,
                     reinterpret_cast<LPARAM>(browsingState->browseInitialFolder.c_str()));
    } else if (event == BFFM_SELCHANGED) {
        char path[260] = {};
        if (SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(argument), path))
            SendMessageA(dialog, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
    }
    return 0;
}

Text BrowseForFolder(HWND owner, const Text& title, const Text& initialFolder,
                     ProgramState& state)
{
    state.browseInitialFolder = initialFolder;
    std::vector<char> titleCopy(title.begin(), title.end());
    titleCopy.push_back('\0');
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = nullptr;
    info.lpszTitle = titleCopy.data();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_STATUSTEXT;  // 7
    info.lpfn = BrowseCallback;
    info.lParam = 0;

    ProgramState* outer = browsingState;
    browsingState = &state;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    browsingState = outer;

    Text result;
    if (chosen) {
        char path[260] = {};
        if (SHGetPathFromIDListA(chosen, path)) result = path;
        CoTaskMemFree(chosen);
    }
    return result;
}

Text BrowseForFolder(ProgramState& state, HWND mainWindow)
{
    return BrowseForFolder(mainWindow, "选择路径", "C:\\WINDOWS", state);
}
