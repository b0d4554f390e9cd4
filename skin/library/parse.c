/* Reading and checking a skin file (skin/skin_format.h). */
#include "skin/library/skin.h"

enum { kLargestSkinFile = 1 << 20 };

static unsigned Read16(const unsigned char* p, int at) { return p[at] | (unsigned)p[at + 1] << 8; }

static DWORD Read32(const unsigned char* p, int at)
{
    return p[at] | (DWORD)p[at + 1] << 8 | (DWORD)p[at + 2] << 16 | (DWORD)p[at + 3] << 24;
}

static DWORD Checksum(const unsigned char* p, int size)
{
    DWORD hash = SKIN_FNV_OFFSET_BASIS;
    int i;
    for (i = 0; i < size; ++i) {
        unsigned char byte = (i >= kSkinOffsetChecksum && i < kSkinOffsetChecksum + 4) ? 0 : p[i];
        hash = (hash ^ byte) * SKIN_FNV_PRIME;
    }
    return hash;
}

/* A NUL-terminated, non-empty text inside its slot. */
static int CopyText(const unsigned char* p, int at, int room, char* out)
{
    int i;
    for (i = 0; i < room; ++i) {
        out[i] = (char)p[at + i];
        if (p[at + i] == 0) return i > 0;
    }
    return 0;
}

int ParseSkin(const unsigned char* p, int size, ParsedSkin* out)
{
    int i;
    unsigned colourCount;
    char name[kSkinNameSize];

    if (p == 0 || size < kSkinFieldsEnd || size > kLargestSkinFile) return 0;
    for (i = 0; i < 4; ++i)
        if (p[kSkinOffsetMagic + i] != (unsigned char)SKIN_MAGIC[i]) return 0;
    if (Read16(p, kSkinOffsetVersion) != kSkinVersion) return 0;
    if (Read32(p, kSkinOffsetSize) != (DWORD)size) return 0;
    if (Read32(p, kSkinOffsetChecksum) != Checksum(p, size)) return 0;
    if (!CopyText(p, kSkinOffsetName, kSkinNameSize, name)) return 0;

    colourCount = Read16(p, kSkinOffsetColourCount);
    if (colourCount < kSkinColourCount || colourCount > kSkinColourSlots) return 0;
    for (i = 0; i < kSkinColourCount; ++i) {
        DWORD colour = Read32(p, kSkinOffsetColours + 4 * i);
        if (colour > 0xFFFFFF) return 0;
        out->colours[i] = colour;
    }

    out->fontHeight = (short)Read16(p, kSkinOffsetFontHeight);
    out->fontWeight = (int)Read16(p, kSkinOffsetFontWeight);
    out->fontCharset = p[kSkinOffsetFontCharset];
    out->faceCount = p[kSkinOffsetFaceCount];
    if (out->fontWeight < 1 || out->fontWeight > 1000) return 0;
    if (out->faceCount < 1 || out->faceCount > kSkinFaceSlots) return 0;
    for (i = 0; i < out->faceCount; ++i)
        if (!CopyText(p, kSkinOffsetFaces + kSkinFaceSize * i, kSkinFaceSize, out->faces[i])) return 0;

    out->cornerRadius = p[kSkinOffsetCornerRadius];
    out->borderWidth = p[kSkinOffsetBorderWidth];
    if (out->cornerRadius > kSkinMaxCornerRadius) return 0;
    if (out->borderWidth < 1 || out->borderWidth > kSkinMaxBorderWidth) return 0;
    return 1;
}
