/* Inside SkinH_EL.dll: the parsed skin and what the window code shares. */
#ifndef SORVALEN_SKIN_LIBRARY_SKIN_H
#define SORVALEN_SKIN_LIBRARY_SKIN_H

#include <windows.h>
#include <commctrl.h>

#include "skin/skin_format.h"

/* A skin file's fields, copied out of the caller's bytes. */
typedef struct ParsedSkin {
    COLORREF colours[kSkinColourCount];
    int fontHeight;
    int fontWeight;
    int fontCharset;
    int faceCount;
    char faces[kSkinFaceSlots][kSkinFaceSize];
    int cornerRadius;
    int borderWidth;
} ParsedSkin;

/* 1 when the bytes are a valid skin file of exactly `size` bytes. */
int ParseSkin(const unsigned char* bytes, int size, ParsedSkin* out);

/* The GDI objects of one attached skin. Never freed: windows may keep its font. */
typedef struct SkinLook {
    COLORREF colours[kSkinColourCount];
    HBRUSH brushes[kSkinColourCount];
    HFONT font;
    int cornerRadius;
    int borderWidth;
    LOGFONTA messageFont;      /* the system's message box font */
    LOGFONTA guiFont;          /* the system's DEFAULT_GUI_FONT */
    struct SkinLook* previous; /* skins attached before this one */
} SkinLook;

/* The look in force; null until the first successful attach. */
extern SkinLook* volatile g_look;

int IsSkinFont(HFONT font);

/* Subclasses one window. A window created from now on gets the skin's font and
   colours after WM_CREATE; an `existing` one gets them at once. */
void SkinWindow(HWND window, int existing);

/* Push buttons drawn by the skin: a Button window of a push button style (the
   style may change, the class does not). */
int IsPushButton(HWND button);
LRESULT SkinButtonMessage(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
void ForgetButton(HWND button);

#endif
