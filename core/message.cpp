#include "core/message.h"

#include <windows.h>

const char* const kDefaultMessageTitle = "信息：";

int ShowMessage(const Text& text, int style, const Text& title)
{
    UINT type = static_cast<UINT>(style);
    if (!(type & MB_SYSTEMMODAL)) type |= MB_TASKMODAL;
    switch (MessageBoxA(nullptr, text.c_str(), title.c_str(), type)) {
    case IDOK: return 0;
    case IDCANCEL: return 1;
    case IDABORT: return 2;
    case IDRETRY: return 3;
    case IDIGNORE: return 4;
    case IDYES: return 5;
    case IDNO: return 6;
    default: return -1;  // the box could not be shown, or a button outside the list
    }
}
