// Layout as data: a table of controls built into a window by one function.
#pragma once

#include <windows.h>

enum class ControlKind { Group, Radio, Check, Button, Label, Edit, Progress, ListBox, Picture,
                         Combo };

struct ControlSpec {
    int id;
    ControlKind kind;
    const char* caption;
    int x, y, width, height;  // client-relative, or group-relative when `group` is set
    int group;                // id of the containing group box, or 0
    DWORD extraStyle;
};

// Creates the controls as children of `parent`; a control inside a group box is
// placed at its offset from the group box's origin. A combo box's height is that of
// its selection field; its list drops below. Returns false if one failed.
bool BuildControls(HWND parent, const ControlSpec* table, int count, HFONT font);
