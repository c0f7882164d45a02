// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace veltaro::testing {

inline std::vector<std::uint8_t> readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + path.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Little-endian fields read off a byte buffer; running past its end throws.
class ByteReader {
public:
    explicit ByteReader(const std::vector<std::uint8_t>& bytes, std::size_t at = 0)
        : m_bytes(bytes)
        , m_at(at)
    {
    }

    std::uint8_t u8()
    {
        if (m_at >= m_bytes.size()) {
            throw std::runtime_error("file ends early");
        }
        return m_bytes[m_at++];
    }

    std::uint16_t u16()
    {
        const std::uint16_t low = u8();
        return static_cast<std::uint16_t>(low | (u8() << 8));
    }

    std::uint32_t u32()
    {
        const std::uint32_t low = u16();
        return low | (static_cast<std::uint32_t>(u16()) << 16);
    }

    std::vector<std::uint8_t> take(std::size_t count)
    {
        std::vector<std::uint8_t> out;
        for (std::size_t i = 0; i < count; ++i) {
            out.push_back(u8());
        }
        return out;
    }

    std::size_t at() const { return m_at; }
    bool atEnd() const { return m_at == m_bytes.size(); }

private:
    const std::vector<std::uint8_t>& m_bytes;
    std::size_t m_at;
};

}  // namespace veltaro::testing
