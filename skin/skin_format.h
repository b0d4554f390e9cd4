/* The skin file: the bytes the program hands to SkinH_EL.dll at start-up.
 * Shared by the library (C) and the program's skin writer (C++).
 *
 * Little-endian; offsets in bytes from the start of the file.
 *
 *   offset size  field
 *      0    4    magic ".SHE"
 *      4    2    format version: 1
 *      6    2    flags: 0
 *      8    4    size of the whole file; the caller passes the same number
 *     12    4    checksum: FNV-1a (32-bit) over the whole file, these four bytes read as 0
 *     16   32    skin name, code page 936, NUL-terminated
 *     48    2    number of colours in use, kSkinColourCount..32
 *     50    2    0
 *     52  128    32 colour slots, each a COLORREF 0x00BBGGRR; indices in SkinColour
 *    180    2    font height, signed, as LOGFONT lfHeight (negative: character height in pixels)
 *    182    2    font weight, 1..1000 (400 normal, 700 bold)
 *    184    1    font character set (134: GB2312)
 *    185    1    number of face names, 1..8
 *    186    2    0
 *    188  256    8 face names of 32 bytes, code page 936, NUL-terminated;
 *                the library uses the first one installed, else the first one
 *    444    1    push button corner radius in pixels, 0..16
 *    445    1    push button border width in pixels, 1..4
 *    446    2    0
 *    448         end of the fields; zero filler up to the file size
 *
 * A file is accepted only when magic, version, size and checksum match and every
 * field is within its range.
 */
#ifndef SORVALEN_SKIN_FORMAT_H
#define SORVALEN_SKIN_FORMAT_H

enum SkinLayout {
    kSkinOffsetMagic = 0,
    kSkinOffsetVersion = 4,
    kSkinOffsetFlags = 6,
    kSkinOffsetSize = 8,
    kSkinOffsetChecksum = 12,
    kSkinOffsetName = 16,
    kSkinNameSize = 32,
    kSkinOffsetColourCount = 48,
    kSkinOffsetColours = 52,
    kSkinColourSlots = 32,
    kSkinOffsetFontHeight = 180,
    kSkinOffsetFontWeight = 182,
    kSkinOffsetFontCharset = 184,
    kSkinOffsetFaceCount = 185,
    kSkinOffsetFaces = 188,
    kSkinFaceSize = 32,
    kSkinFaceSlots = 8,
    kSkinOffsetCornerRadius = 444,
    kSkinOffsetBorderWidth = 445,
    kSkinFieldsEnd = 448,

    kSkinVersion = 1,
    kSkinMaxCornerRadius = 16,
    kSkinMaxBorderWidth = 4
};

/* Colour slots. */
enum SkinColour {
    kSkinWindowBack,        /* top-level windows and dialogs */
    kSkinControlBack,       /* labels, check boxes, radio buttons, group boxes */
    kSkinText,              /* text of windows and labels */
    kSkinEditBack,          /* edit boxes and list boxes */
    kSkinEditText,
    kSkinButtonFace,        /* push buttons */
    kSkinButtonFacePressed,
    kSkinButtonBorder,
    kSkinButtonText,
    kSkinDisabledText,      /* disabled push buttons: text and border */
    kSkinSelection,         /* default/hot/focused button border, progress bar */
    kSkinProgressBack,
    kSkinColourCount
};

#define SKIN_MAGIC ".SHE"
#define SKIN_FNV_OFFSET_BASIS 2166136261u
#define SKIN_FNV_PRIME 16777619u

#endif
