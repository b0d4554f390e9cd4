/* SkinH_AttachRes: parses the caller's skin, builds its brushes and font, and
   skins the calling thread's windows, those existing and those created later. */
#include "skin/library/skin.h"

SkinLook* volatile g_look;

enum { kMaxHookedThreads = 16 };
static struct {
    DWORD thread;
    HHOOK hook;
} g_hooks[kMaxHookedThreads];

static int CALLBACK NoteFace(const LOGFONTA* font, const TEXTMETRICA* metrics, DWORD type, LPARAM found)
{
    (void)font, (void)metrics, (void)type;
    *(int*)found = 1;
    return 0;
}

static int FaceInstalled(HDC dc, const char* face)
{
    LOGFONTA wanted;
    int found = 0;
    ZeroMemory(&wanted, sizeof wanted);
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(wanted.lfFaceName, face, LF_FACESIZE);
    EnumFontFamiliesExA(dc, &wanted, NoteFace, (LPARAM)&found, 0);
    return found;
}

static HFONT CreateSkinFont(const ParsedSkin* skin)
{
    LOGFONTA font;
    HDC screen = GetDC(0);
    int chosen = 0, i;
    for (i = 0; i < skin->faceCount; ++i) {
        if (FaceInstalled(screen, skin->faces[i])) {
            chosen = i;
            break;
        }
    }
    ReleaseDC(0, screen);

    ZeroMemory(&font, sizeof font);
    font.lfHeight = skin->fontHeight;
    font.lfWeight = skin->fontWeight;
    font.lfCharSet = (BYTE)skin->fontCharset;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lstrcpynA(font.lfFaceName, skin->faces[chosen], LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

static void DeleteLook(SkinLook* look)
{
    int i;
    for (i = 0; i < kSkinColourCount; ++i)
        if (look->brushes[i]) DeleteObject(look->brushes[i]);
    if (look->font) DeleteObject(look->font);
    HeapFree(GetProcessHeap(), 0, look);
}

static SkinLook* CreateLook(const ParsedSkin* skin)
{
    NONCLIENTMETRICSA metrics;
    int i;
    SkinLook* look = (SkinLook*)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof *look);
    if (!look) return 0;
    for (i = 0; i < kSkinColourCount; ++i) {
        look->colours[i] = skin->colours[i];
        look->brushes[i] = CreateSolidBrush(skin->colours[i]);
        if (!look->brushes[i]) {
            DeleteLook(look);
            return 0;
        }
    }
    look->font = CreateSkinFont(skin);
    if (!look->font) {
        DeleteLook(look);
        return 0;
    }
    look->cornerRadius = skin->cornerRadius;
    look->borderWidth = skin->borderWidth;

    /* The size without iPaddedBorderWidth, which systems before Vista refuse. */
    ZeroMemory(&metrics, sizeof metrics);
    metrics.cbSize = sizeof metrics - sizeof metrics.iPaddedBorderWidth;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        look->messageFont = metrics.lfMessageFont;
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof look->guiFont, &look->guiFont);
    return look;
}

int IsSkinFont(HFONT font)
{
    const SkinLook* look;
    for (look = g_look; look; look = look->previous)
        if (look->font == font) return 1;
    return 0;
}

static LRESULT CALLBACK WatchCreation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CBT_CREATEWNDA* creation = (const CBT_CREATEWNDA*)lParam;
        if (creation->lpcs->hwndParent != HWND_MESSAGE) SkinWindow((HWND)wParam, 0);
    }
    return CallNextHookEx(0, code, wParam, lParam);
}

static void HookCurrentThread(void)
{
    DWORD thread = GetCurrentThreadId();
    int i, free = -1;
    for (i = 0; i < kMaxHookedThreads; ++i) {
        if (g_hooks[i].hook && g_hooks[i].thread == thread) return;
        if (!g_hooks[i].hook && free < 0) free = i;
    }
    if (free < 0) return;
    g_hooks[free].hook = SetWindowsHookExA(WH_CBT, WatchCreation, 0, thread);
    g_hooks[free].thread = thread;
}

static BOOL CALLBACK SkinChild(HWND window, LPARAM thread)
{
    if (GetWindowThreadProcessId(window, 0) == (DWORD)thread) SkinWindow(window, 1);
    return TRUE;
}

static BOOL CALLBACK SkinTopLevel(HWND window, LPARAM thread)
{
    SkinWindow(window, 1);
    EnumChildWindows(window, SkinChild, thread);
    RedrawWindow(window, 0, 0, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return TRUE;
}

/* The windows subclassed here call into this library until they are destroyed. */
static void PinLibrary(void)
{
    HMODULE self;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       (LPCSTR)(void*)WatchCreation, &self);
}

/* password and the three integers are accepted for the caller's convention and unused. */
__declspec(dllexport) int WINAPI SkinH_AttachRes(const unsigned char* skin, int size, const char* password,
                                                 int a, int b, int c)
{
    ParsedSkin parsed;
    SkinLook* look;
    DWORD thread = GetCurrentThreadId();
    (void)password, (void)a, (void)b, (void)c;

    if (!ParseSkin(skin, size, &parsed)) return 0;
    look = CreateLook(&parsed);
    if (!look) return 0;
    PinLibrary();
    look->previous = g_look;
    g_look = look;
    HookCurrentThread();
    EnumThreadWindows(thread, SkinTopLevel, (LPARAM)thread);
    return 1;
}
