// SPDX-License-Identifier: MIT
#include "hwmonattribute.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <string_view>
#include <system_error>

namespace veltaro {

namespace {

// Longer than any value the kernel's sensor drivers write: a driver name
// or a signed number.
constexpr std::size_t kLargestAttribute = 64;

// The text of one read at offset 0 without its newline, in `buffer`.
std::optional<std::string_view> readLine(int fd, char (&buffer)[kLargestAttribute])
{
    ssize_t count;
    do {
        count = ::pread(fd, buffer, sizeof buffer, 0);
    } while (count < 0 && errno == EINTR);
    if (count <= 0 || static_cast<std::size_t>(count) == sizeof buffer || buffer[count - 1] != '\n')
        return std::nullopt;
    return std::string_view(buffer, static_cast<std::size_t>(count) - 1);
}

}  // namespace

UniqueFd openAttribute(const std::filesystem::path& file)
{
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (fd.valid() && (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)))
        fd.reset();
    return fd;
}

std::optional<std::string> readAttribute(int fd)
{
    char buffer[kLargestAttribute];
    const std::optional<std::string_view> line = readLine(fd, buffer);
    if (!line)
        return std::nullopt;
    return std::string(*line);
}

std::optional<long long> readMillidegrees(int fd)
{
    char buffer[kLargestAttribute];
    const std::optional<std::string_view> line = readLine(fd, buffer);
    if (!line || line->empty())
        return std::nullopt;
    long long value = 0;
    const char* end = line->data() + line->size();
    const auto [stop, error] = std::from_chars(line->data(), end, value);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

std::optional<std::string> readAttributeFile(const std::filesystem::path& file)
{
    const UniqueFd fd = openAttribute(file);
    if (!fd.valid())
        return std::nullopt;
    return readAttribute(fd.get());
}

std::optional<unsigned> numberAfter(std::string_view prefix, std::string_view name)
{
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix)
        return std::nullopt;
    unsigned number = 0;
    const char* end = name.data() + name.size();
    const auto [stop, error] = std::from_chars(name.data() + prefix.size(), end, number);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return number;
}

}  // namespace veltaro
