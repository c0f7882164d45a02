// SPDX-License-Identifier: MIT
// Started by the shell test through ShellExecuteA: writes the folder it was
// started in to "shellprobe.txt" there, and ends.

#include <windows.h>

#include <cstdio>

int main()
{
    char folder[MAX_PATH] = {};
    if (::GetCurrentDirectoryA(MAX_PATH, folder) == 0)
        return 1;
    std::FILE* out = std::fopen("shellprobe.txt", "w");
    if (out == nullptr)
        return 1;
    std::fputs(folder, out);
    return std::fclose(out) == 0 ? 0 : 1;
}
