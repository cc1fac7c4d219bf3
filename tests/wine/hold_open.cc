// Test helper for the Windows program: holds a file open without sharing it, as a
// spreadsheet program holds the workbook it shows, until its standard input ends.
// Prints "gehalten" once the file is held, "nicht geoeffnet" when it cannot be opened.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: hold_open FILE\n", stderr);
        return 2;
    }
    HANDLE file = CreateFileW(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::puts("nicht geoeffnet");
        return 1;
    }
    std::puts("gehalten");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    CloseHandle(file);
    return 0;
}
