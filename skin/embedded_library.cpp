// The padded SkinH_EL.dll of this build, included byte for byte by the assembler.
#include "skin/embedded.h"

#ifndef SKIN_LIBRARY_FILE
#error "SKIN_LIBRARY_FILE must name the padded skin library"
#endif

#define SKIN_TEXT(x) SKIN_TEXT2(x)
#define SKIN_TEXT2(x) #x

extern "C" const unsigned char sorvalenSkinLibraryBytes[] __asm__("sorvalen_skin_library_bytes");

__asm__(
    ".section .rdata,\"dr\"\n"
    ".balign 16\n"
    "sorvalen_skin_library_bytes:\n"
    ".incbin \"" SKIN_LIBRARY_FILE "\"\n"
    ".if . - sorvalen_skin_library_bytes - " SKIN_TEXT(SKIN_LIBRARY_SIZE) "\n"
    ".error \"the padded skin library does not have its fixed size\"\n"
    ".endif\n"
    ".text\n");

static_assert(SKIN_LIBRARY_SIZE == kEmbeddedSkinLibrarySize);

const unsigned char* EmbeddedSkinLibrary() { return sorvalenSkinLibraryBytes; }
