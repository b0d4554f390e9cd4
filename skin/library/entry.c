/* The library's entry point and the few memory routines the compiler may call:
   it links no C runtime. */
#include <windows.h>

BOOL WINAPI DllMainCRTStartup(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    return TRUE;
}

void* memset(void* target, int value, size_t count)
{
    unsigned char* p = (unsigned char*)target;
    while (count--) *p++ = (unsigned char)value;
    return target;
}

void* memcpy(void* target, const void* source, size_t count)
{
    unsigned char* p = (unsigned char*)target;
    const unsigned char* q = (const unsigned char*)source;
    while (count--) *p++ = *q++;
    return target;
}

void* memmove(void* target, const void* source, size_t count)
{
    unsigned char* p = (unsigned char*)target;
    const unsigned char* q = (const unsigned char*)source;
    if (p < q) {
        while (count--) *p++ = *q++;
    } else {
        while (count--) p[count] = q[count];
    }
    return target;
}

int memcmp(const void* a, const void* b, size_t count)
{
    const unsigned char* p = (const unsigned char*)a;
    const unsigned char* q = (const unsigned char*)b;
    for (; count; --count, ++p, ++q)
        if (*p != *q) return *p < *q ? -1 : 1;
    return 0;
}
