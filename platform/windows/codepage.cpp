// SPDX-License-Identifier: MIT
#include "codepage.h"

#include <windows.h>

#include <climits>

namespace veltaro {

// The system code page is the ANSI code page (CP_ACP) that the "A" calls
// use. Lengths are passed explicitly, so NUL characters pass through like
// any other. A character the code page has no byte for becomes its
// default character, "?". Bytes that do not decode are replaced the way
// the system replaces them in its own "A" calls: U+FFFD in UTF-8, while
// the single-byte code pages give every byte a character.

std::string toSystemCodePage(std::wstring_view text)
{
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(text.size());
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::wstring fromSystemCodePage(std::string_view bytes)
{
    if (bytes.empty() || bytes.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(bytes.size());
    const int size = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), size);
    return text;
}

}  // namespace veltaro
