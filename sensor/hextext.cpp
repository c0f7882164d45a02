// SPDX-License-Identifier: MIT
#include "hextext.h"

#include <charconv>
#include <limits>

namespace veltaro {

namespace {

constexpr wchar_t kUpperHexDigits[] = L"0123456789ABCDEF";

int placeDigitValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    return 0;
}

// std::to_wstring formats through swprintf, which costs more than all the
// rest of a sample; the digits of a 64-bit value are simple to write.
std::wstring decimalText(std::int64_t value)
{
    char digits[24];
    const std::to_chars_result written = std::to_chars(std::begin(digits), std::end(digits), value);
    return std::wstring(digits, written.ptr);
}

}  // namespace

std::wstring Hex8(std::uint32_t value)
{
    wchar_t digits[8];
    Hex8(value, digits);
    return std::wstring(std::begin(digits), std::end(digits));
}

void Hex8(std::uint32_t value, std::span<wchar_t, 8> digits)
{
    // The lowest digit goes last.
    for (std::size_t place = digits.size(); place-- > 0;) {
        digits[place] = kUpperHexDigits[value & 0xF];
        value >>= 4;
    }
}

std::wstring HexDigitsToDecimal(std::wstring_view digits)
{
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::int64_t total = 0;
    const std::size_t length = digits.size();
    for (std::size_t i = 0; i < length; ++i) {
        const int digit = placeDigitValue(digits[i]);
        if (digit == 0)
            continue;
        // Place values from 16^8 up are beyond 32 bits for any non-zero digit.
        const std::size_t place = length - 1 - i;
        if (place >= 8)
            return {};
        total += static_cast<std::int64_t>(digit) << (4 * place);
        if (total > kMax)
            return {};
    }
    return decimalText(total);
}

std::wstring_view digitsAt(std::wstring_view registerText, std::size_t firstPosition, std::size_t count)
{
    return registerText.substr(firstPosition - 1, count);
}

std::optional<std::int32_t> readDecimal(std::wstring_view text)
{
    bool negative = false;
    if (!text.empty() && text.front() == L'-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + (c - L'0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace veltaro
