#pragma once

#include <string>
#include <string_view>

namespace veltaro {

// Texts inside the program are wide; the narrow-character system calls take
// and give bytes in the system's code page. These two convert exactly
// where such a call is made.

// A character the code page cannot express becomes "?".
std::string toSystemCodePage(std::wstring_view text);

// A byte sequence that is not valid in the code page becomes U+FFFD, one
// for each byte that cannot start a character and one for an incomplete
// character at the end. NUL bytes stay NUL characters.
std::wstring fromSystemCodePage(std::string_view bytes);

}  // namespace veltaro
