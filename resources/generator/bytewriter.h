// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace veltaro::pictures {

// Appends the little-endian fields that both GIF and ICO files are made of.
class ByteWriter {
public:
    void u8(std::uint8_t value) { m_bytes.push_back(value); }

    void u16(std::uint16_t value)
    {
        u8(static_cast<std::uint8_t>(value & 0xFFu));
        u8(static_cast<std::uint8_t>(value >> 8));
    }

    void u32(std::uint32_t value)
    {
        u16(static_cast<std::uint16_t>(value & 0xFFFFu));
        u16(static_cast<std::uint16_t>(value >> 16));
    }

    void text(std::string_view ascii)
    {
        for (char c : ascii) {
            u8(static_cast<std::uint8_t>(c));
        }
    }

    void append(const std::vector<std::uint8_t>& bytes) { m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end()); }

    std::size_t size() const { return m_bytes.size(); }
    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }
    std::vector<std::uint8_t> take() { return std::move(m_bytes); }

private:
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace veltaro::pictures
