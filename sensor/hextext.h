// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace veltaro {

// Register contents travel between the steps of the sensor as text: a
// register value is rendered as eight hexadecimal digits, fields are cut
// out by digit position (1 to 8 from the left), and a field's digits are
// turned back into a decimal text.

// Exactly eight upper-case hexadecimal digits of the value's bit pattern.
std::wstring Hex8(std::uint32_t value);
// The same digits into a caller's eight characters: eight wide characters
// do not fit a std::wstring's inline buffer, and the sampling loop should
// not allocate for a text it only looks at.
void Hex8(std::uint32_t value, std::span<wchar_t, 8> digits);

// The value of a run of hexadecimal digits, as decimal text. Tolerant:
// "A"-"F" (either case) count 10-15, "0"-"9" their value, and every other
// character ("&", "H", "G", a blank) counts 0 but keeps its place, so
// "&h7" gives "7" and "G1" gives "1". The empty text gives "0".
//
// Any text is accepted, of any length and with any characters. A text
// whose value does not fit a signed 32-bit integer (from 80000000 up, or
// a non-zero digit nine or more places from the right) has no decimal
// rendering and gives the empty text: readDecimal takes that for no
// number at all, so an oversized field becomes a missing reading rather
// than a wrapped or clipped value that would look like a real one. The
// sensor never passes more than three characters.
std::wstring HexDigitsToDecimal(std::wstring_view digits);
// The same into a caller's characters, as a view of them: the sampling
// loop's form, which builds no std::wstring.
inline constexpr std::size_t kLongestDecimal = 20;
std::wstring_view HexDigitsToDecimal(std::wstring_view digits, std::span<wchar_t, kLongestDecimal> text);

// The decimal text of `value` into `text`, handed back as the part of it
// that holds it.
std::wstring_view writeDecimal(long long value, std::span<wchar_t, kLongestDecimal> text);

// Digit positions counted from 1, as the register layouts give them.
std::wstring_view digitsAt(std::wstring_view registerText, std::size_t firstPosition, std::size_t count);

// Reads a decimal text written by HexDigitsToDecimal: an optional minus
// sign and at least one digit, nothing else.
std::optional<std::int32_t> readDecimal(std::wstring_view text);

}  // namespace veltaro
