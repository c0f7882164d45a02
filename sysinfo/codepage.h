// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace veltaro {

// Texts inside the program are wide; the narrow-character system calls take
// and give bytes in the system's code page. These two convert exactly
// where such a call is made.

// A character the code page cannot express becomes "?", except that the
// characters fromSystemCodePage made of undecodable bytes (Linux) become
// those bytes again.
std::string toSystemCodePage(std::wstring_view text);

// NUL bytes stay NUL characters. Bytes that are not valid in the code page
// are replaced the way the platform's own narrow calls would see them: on
// Windows as U+FFFD (UTF-8) or as the single-byte code page's character;
// on Linux, where names are bytes in any encoding, each such byte becomes
// U+DC00 plus its value, so that toSystemCodePage gives the same bytes back.
std::wstring fromSystemCodePage(std::string_view bytes);

}  // namespace veltaro
