// Prints the drive roots a whole-disk scan walks, one per line.
#include <cstdio>

#include "core/program.h"

int main()
{
    for (const Text& root : ListDrives()) std::printf("%s\n", root.c_str());
    return 0;
}
