// SPDX-License-Identifier: MIT
#include "codepage.h"

#include <climits>
#include <cwchar>

namespace veltaro {

// The system code page here is the encoding of the C library's current
// locale (LC_CTYPE), normally UTF-8. The window toolkit sets the user's
// locale at start; until something does, it is the plain "C" locale, in
// which every byte above 0x7F is invalid.
//
// Linux names are bytes, not text: a host name can hold UTF-8 under
// LANG=C, or Latin-1 under a UTF-8 locale. A byte that does not decode
// therefore becomes an unpaired low surrogate, U+DC00 plus the byte, which
// no decoded character can be, and turns back into that same byte on the
// way out. A name read from the system and handed back to it arrives
// unchanged, whatever the locale; shown on screen, such a character draws
// as a replacement mark, so a garbled processor name still shows as
// garbled. Nothing is ever read past the end of the input.

namespace {

constexpr wchar_t kFirstEscape = 0xDC00;
constexpr wchar_t kLastEscape = 0xDCFF;

bool isEscapedByte(wchar_t c)
{
    return c >= kFirstEscape && c <= kLastEscape;
}

wchar_t escaped(char byte)
{
    return static_cast<wchar_t>(kFirstEscape + static_cast<unsigned char>(byte));
}

}  // namespace

std::string toSystemCodePage(std::wstring_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    std::mbstate_t state{};
    char character[MB_LEN_MAX];
    for (const wchar_t c : text) {
        if (isEscapedByte(c)) {
            bytes.push_back(static_cast<char>(c - kFirstEscape));
            continue;
        }
        const std::size_t count = std::wcrtomb(character, c, &state);
        if (count == static_cast<std::size_t>(-1)) {
            bytes.push_back('?');
            state = std::mbstate_t{};
            continue;
        }
        bytes.append(character, count);
    }
    return bytes;
}

std::wstring fromSystemCodePage(std::string_view bytes)
{
    std::wstring text;
    text.reserve(bytes.size());
    std::mbstate_t state{};
    while (!bytes.empty()) {
        wchar_t c = 0;
        const std::size_t count = std::mbrtowc(&c, bytes.data(), bytes.size(), &state);
        // -1: not a character here; -2: one begun but cut off by the end of
        // the input. A surrogate is never a character of a locale's
        // encoding: taken as one, it would come back out as a single byte.
        if (count == static_cast<std::size_t>(-1) || count == static_cast<std::size_t>(-2) || isEscapedByte(c)) {
            text.push_back(escaped(bytes.front()));
            bytes.remove_prefix(1);
            state = std::mbstate_t{};
            continue;
        }
        text.push_back(c);
        // 0: the character read was NUL, which took one byte.
        bytes.remove_prefix(count == 0 ? 1 : count);
    }
    return text;
}

}  // namespace veltaro
