// SPDX-License-Identifier: MIT
#include "hextext.h"

#include <limits>
#include <type_traits>

namespace veltaro {

namespace {

constexpr wchar_t kUpperHexDigits[] = L"0123456789ABCDEF";

// Without branches: the tick runs this right after a system call, which
// leaves the branch predictors without their history.
int placeDigitValue(wchar_t c)
{
    const auto code = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<wchar_t>>(c));
    const std::uint32_t decimal = code - L'0';
    // Upper and lower case letters differ only in bit 5.
    const std::uint32_t letter = (code | 0x20u) - L'a';
    const std::uint32_t value = decimal < 10 ? decimal : letter < 6 ? letter + 10 : 0;
    return static_cast<int>(value);
}

}  // namespace

std::wstring Hex8(std::uint32_t value)
{
    wchar_t digits[8];
    Hex8(value, digits);
    return std::wstring(std::begin(digits), std::end(digits));
}

[[gnu::hot]] void Hex8(std::uint32_t value, std::span<wchar_t, 8> digits)
{
    // The lowest digit goes last.
    for (std::size_t place = digits.size(); place-- > 0;) {
        digits[place] = kUpperHexDigits[value & 0xF];
        value >>= 4;
    }
}

std::wstring HexDigitsToDecimal(std::wstring_view digits)
{
    wchar_t text[kLongestDecimal];
    return std::wstring(HexDigitsToDecimal(digits, text));
}

[[gnu::hot]] std::wstring_view HexDigitsToDecimal(std::wstring_view digits, std::span<wchar_t, kLongestDecimal> text)
{
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::int64_t total = 0;
    const std::size_t length = digits.size();
    for (std::size_t i = 0; i < length; ++i) {
        const std::int64_t digit = placeDigitValue(digits[i]);
        // Place values from 16^8 up are beyond 32 bits for any non-zero digit.
        const std::size_t place = length - 1 - i;
        if (place >= 8) [[unlikely]] {
            if (digit != 0)
                return {};
            continue;
        }
        total += digit << (4 * place);
        if (total > kMax) [[unlikely]]
            return {};
    }
    return writeDecimal(total, text);
}

[[gnu::hot]] std::wstring_view digitsAt(std::wstring_view registerText, std::size_t firstPosition, std::size_t count)
{
    return registerText.substr(firstPosition - 1, count);
}

[[gnu::hot]] std::optional<std::int32_t> readDecimal(std::wstring_view text)
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
        if (c < L'0' || c > L'9') [[unlikely]]
            return std::nullopt;
        value = value * 10 + (c - L'0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) [[unlikely]]
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace veltaro
