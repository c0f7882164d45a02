#include "codepage.h"

#include <climits>
#include <cwchar>

namespace veltaro {

// The system code page here is the encoding of the C library's current
// locale (LC_CTYPE), normally UTF-8. The window toolkit sets the user's
// locale at start; until something does, it is the plain "C" locale, in
// which every byte above 0x7F is invalid.
//
// Invalid input is replaced rather than passed on: U+FFFD marks bytes that
// were there but could not be read, so a garbled processor name still shows
// as garbled, and nothing is ever read past the end of the input.

std::string toSystemCodePage(std::wstring_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    std::mbstate_t state{};
    char character[MB_LEN_MAX];
    for (const wchar_t c : text) {
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
    constexpr wchar_t kReplacement = L'\uFFFD';
    std::wstring text;
    text.reserve(bytes.size());
    std::mbstate_t state{};
    while (!bytes.empty()) {
        wchar_t c = 0;
        const std::size_t count = std::mbrtowc(&c, bytes.data(), bytes.size(), &state);
        if (count == static_cast<std::size_t>(-2)) {
            // A character begun but cut off by the end of the input.
            text.push_back(kReplacement);
            break;
        }
        if (count == static_cast<std::size_t>(-1)) {
            text.push_back(kReplacement);
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
