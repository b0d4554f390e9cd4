// Every program-wide variable, with its starting value.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "core/text.h"

// Eight 32-bit fields of the tray code, all 0 at start.
struct TrayState {
    std::int32_t fields[8] = {};
};

// Thirteen fields; the 7th, 10th and 12th are byte arrays of 128, 256 and 64 bytes.
struct TrayIconRecord {
    std::int32_t field1 = 0, field2 = 0, field3 = 0, field4 = 0, field5 = 0, field6 = 0;
    std::vector<std::uint8_t> field7;
    std::int32_t field8 = 0, field9 = 0;
    std::vector<std::uint8_t> field10;
    std::int32_t field11 = 0;
    std::vector<std::uint8_t> field12;
    std::int32_t field13 = 0;
};

struct ProgramState {
    Text chosenFolder;
    Text browseInitialFolder;
    Text resultFolder;
    Text resultLocation;
    // Written by the thread that starts a worker, read by others.
    std::atomic<void*> enumerationThread{nullptr};
    std::atomic<void*> checkThread{nullptr};
    std::int32_t phaseCounter = 0;
    std::int32_t phaseIndex = 0;
    std::int32_t currentFileSize = 0;
    Text currentNote;
    Text currentFolder;
    Text attachedReportText;
    std::int32_t attachedCounter = 0;
    std::int32_t attachedIndex = 0;
    Text existingReportText;
    Text registryKeyText;
    Text registryReportText;
    TrayState* trayState = nullptr;          // made by CreateTrayRecords
    void* previousWindowProc = nullptr;
    unsigned trayMessageId = 0;
    TrayIconRecord* trayIconRecord = nullptr;  // made by CreateTrayRecords
    std::int32_t trayActive = 0;
};
