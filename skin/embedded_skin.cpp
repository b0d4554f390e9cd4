// The program's default skin: a light blue look with a CJK sans-serif font.
#include "skin/embedded.h"
#include "skin/skin_writer.h"

namespace {

constexpr SkinDescription kDefaultSkin = {
    "Sorvalen 晴空",
    {
        SkinRgb(221, 233, 247),  // kSkinWindowBack
        SkinRgb(221, 233, 247),  // kSkinControlBack
        SkinRgb(22, 42, 78),     // kSkinText
        SkinRgb(252, 253, 255),  // kSkinEditBack
        SkinRgb(16, 32, 64),     // kSkinEditText
        SkinRgb(190, 212, 240),  // kSkinButtonFace
        SkinRgb(150, 184, 228),  // kSkinButtonFacePressed
        SkinRgb(72, 108, 160),   // kSkinButtonBorder
        SkinRgb(16, 36, 72),     // kSkinButtonText
        SkinRgb(140, 150, 166),  // kSkinDisabledText
        SkinRgb(40, 110, 206),   // kSkinSelection
        SkinRgb(238, 243, 250),  // kSkinProgressBack
    },
    -12,  // 9 points at 96 dots per inch, the size the window layouts are made for
    400,
    134,  // GB2312_CHARSET
    {"微软雅黑", "文泉驿微米黑", "WenQuanYi Micro Hei", "宋体", "SimSun"},
    4,
    1,
};

constexpr auto kSkinBytes = EncodeSkin<kEmbeddedSkinSize>(kDefaultSkin);

}  // namespace

const unsigned char* EmbeddedSkin() { return kSkinBytes.data(); }
