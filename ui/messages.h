// The program's own window messages, all in the WM_APP range.
#pragma once

#include <windows.h>

enum AppMessage : UINT {
    // Sent to MainWindow: wParam a StoreId; returns the store's Count(), or the
    // length of a whole-text store. Lets tools and tests see what was loaded.
    WM_APP_STORE_SIZE = WM_APP + 1,
    // Posted to MainWindow when the scan model changed: show it in the controls.
    WM_APP_REFLECT = WM_APP + 2,
};

enum StoreId : WPARAM {
    STORE_SIZE_DATABASE_TEXT = 0,
    STORE_MD5_DATABASE_TEXT = 1,
    STORE_MD5_LINES = 2,
    STORE_ATTACHED_NAMES = 3,
    STORE_REGISTRY_LINES = 4,
    STORE_FOUND_FILES = 5,
    STORE_MATCHED_FILES = 6,
    STORE_DRIVE_ROOTS = 7,
};
