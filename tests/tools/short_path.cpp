// Prints the short (8.3) form of an existing path, for scripts that need one.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv)
{
    char shortPath[MAX_PATH] = {};
    const DWORD length = argc == 2 ? GetShortPathNameA(argv[1], shortPath, MAX_PATH) : 0;
    if (length == 0 || length >= MAX_PATH)
        return 1;
    std::printf("%s\n", shortPath);
    return 0;
}
