// Clock and pacing.
#pragma once

#include "core/datetime.h"

DateTime CurrentDateTime();
void SleepMs(int ms);
// Dispatches what is already queued for this thread; leaves WM_QUIT in the queue.
void ProcessPendingMessages();
