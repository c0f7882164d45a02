// SPDX-License-Identifier: MIT
// Stands in for the desktop's mail program in the end-to-end tests: the
// shell starts it for "mailto:" addresses, and it writes the command line
// it was given to "mailto.txt" beside itself.

#include <windows.h>

#include <cstdio>
#include <string>

int main()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH)
        return 1;
    std::wstring file(path, length);
    file = file.substr(0, file.find_last_of(L'\\') + 1) + L"mailto.txt";
    std::FILE* out = ::_wfopen(file.c_str(), L"w, ccs=UTF-8");
    if (out == nullptr)
        return 1;
    std::fputws(::GetCommandLineW(), out);
    return std::fclose(out) == 0 ? 0 : 1;
}
