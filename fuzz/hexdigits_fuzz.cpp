// SPDX-License-Identifier: MIT
// HexDigitsToDecimal on any text: it must not crash, and what it gives is
// either the empty text (the value does not fit a signed 32-bit integer)
// or the decimal of the digits' value, which reads back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "hextext.h"

namespace {

// The value the digits stand for, worked out the plain way: every
// character is a place, non-digits count 0. Empty when it passes 2^31 - 1;
// the running value never shrinks, so once past it stays past.
std::optional<std::int64_t> expectedValue(std::wstring_view digits)
{
    std::int64_t value = 0;
    for (wchar_t c : digits) {
        int digit = 0;
        if (c >= L'0' && c <= L'9')
            digit = c - L'0';
        else if (c >= L'A' && c <= L'F')
            digit = c - L'A' + 10;
        else if (c >= L'a' && c <= L'f')
            digit = c - L'a' + 10;
        value = value * 16 + digit;
        if (value > std::numeric_limits<std::int32_t>::max())
            return std::nullopt;
    }
    return value;
}

void check(std::wstring_view digits)
{
    const std::wstring decimal = veltaro::HexDigitsToDecimal(digits);
    const std::optional<std::int64_t> expected = expectedValue(digits);
    if (!expected) {
        if (!decimal.empty())
            std::abort();
        return;
    }
    const std::optional<std::int32_t> read = veltaro::readDecimal(decimal);
    if (!read || *read != *expected || std::to_wstring(*read) != decimal)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Each byte as one character, Latin-1 style ...
    check(std::wstring(data, data + size));

    // ... and each group of four bytes as one wide character of any value.
    std::wstring wide(size / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), data, wide.size() * sizeof(wchar_t));
    check(wide);
    return 0;
}
