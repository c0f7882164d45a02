// SPDX-License-Identifier: MIT
#include "hextext.h"

#include <charconv>
#include <cstdint>
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
    wchar_t text[kLongestDecimal];
    return std::wstring(HexDigitsToDecimal(digits, text));
}

std::wstring_view HexDigitsToDecimal(std::wstring_view digits, std::span<wchar_t, kLongestDecimal> text)
{
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::int64_t total = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const std::int64_t digit = placeDigitValue(digits[i]);
        // Place values from 16^8 up are beyond 32 bits for any non-zero digit.
        const std::size_t place = digits.size() - 1 - i;
        if (digit == 0)
            continue;
        if (place >= 8)
            return {};
        total += digit << (4 * place);
        if (total > kMax)
            return {};
    }
    return writeDecimal(total, text);
}

std::wstring_view writeDecimal(long long value, std::span<wchar_t, kLongestDecimal> text)
{
    char digits[kLongestDecimal];
    // Twenty characters hold every long long.
    const char* const end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
    const auto length = static_cast<std::size_t>(end - digits);
    for (std::size_t i = 0; i < length; ++i)
        text[i] = static_cast<wchar_t>(digits[i]);
    return {text.data(), length};
}

std::wstring_view digitsAt(std::wstring_view registerText, std::size_t firstPosition, std::size_t count)
{
    return registerText.substr(firstPosition - 1, count);
}

std::optional<std::int32_t> readDecimal(std::wstring_view text)
{
    // The digits as narrow characters for std::from_chars; anything past
    // the longest decimal, or not plain ASCII, is no number.
    char narrow[kLongestDecimal];
    if (text.empty() || text.size() > std::size(narrow))
        return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (static_cast<std::uint32_t>(text[i]) > 0x7F)
            return std::nullopt;
        narrow[i] = static_cast<char>(text[i]);
    }
    std::int32_t value = 0;
    const char* const end = narrow + text.size();
    const auto [stop, error] = std::from_chars(narrow, end, value);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

}  // namespace veltaro
