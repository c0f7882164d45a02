// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <random>
#include <string>

#include "bytereader.h"
#include "pictures.h"

namespace veltaro::testing {
namespace {

namespace fs = std::filesystem;

// A folder of its own under the system's temporary folder, removed again
// when the test ends.
class ScratchFolder {
public:
    ScratchFolder()
        : m_path(fs::temp_directory_path() / ("veltaro-pictures-" + std::to_string(std::random_device{}())))
    {
        fs::create_directories(m_path);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

// The committed pictures must be exactly what the generator writes, so
// that a change to a drawing cannot go in without its pictures or the
// other way round.
TEST(Pictures, GeneratorWritesTheCommittedFilesByteForByte)
{
    const ScratchFolder scratch;
    const auto written = pictures::writePictures(scratch.path());
    const char* const names[] = {
        "veltaro.ico",    "veltaro.png",     "emblem.gif",      "envelope.ico",   "veltaro@2x.ico",
        "emblem@2x.gif",  "envelope@2x.ico", "veltaro-16.png",  "veltaro-24.png", "veltaro-48.png",
        "veltaro-64.png", "veltaro-128.png", "veltaro-256.png",
    };
    ASSERT_EQ(written.size(), std::size(names));
    for (const char* name : names) {
        SCOPED_TRACE(name);
        const auto fresh = readBytes(scratch.path() / name);
        const auto committed = readBytes(fs::path(VELTARO_RESOURCES_DIR) / name);
        ASSERT_FALSE(fresh.empty());
        EXPECT_TRUE(fresh == committed) << "run the veltaro-update-pictures target and commit the pictures";
    }
}

}  // namespace
}  // namespace veltaro::testing
