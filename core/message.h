// The program's one message box: no owner, task-modal unless system-modal is asked.
#pragma once

#include "core/text.h"

extern const char* const kDefaultMessageTitle;  // "信息："

// Result: OK 0, Cancel 1, Abort 2, Retry 3, Ignore 4, Yes 5, No 6.
int ShowMessage(const Text& text, int style = 0, const Text& title = kDefaultMessageTitle);
