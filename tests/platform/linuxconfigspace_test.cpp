// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "configspacesampling.h"
#include "fakeprocessoridentity.h"
#include "familycode.h"
#include "fixturetree.h"
#include "linuxconfigspace.h"
#include "pciconfigread.h"
#include "temperaturesampler.h"

namespace veltaro {
namespace {

using testing::FixtureTree;

constexpr char kNorthbridge[] = "0000:00:18.3";
constexpr std::uint32_t kFamily10hSignature = 0x00100F42;
constexpr std::uint32_t kThermal55Celsius = 0x37000000;

// The full 256 bytes that a root-opened descriptor sees.
void writeFamily10hNorthbridge(FixtureTree& tree)
{
    tree.writeConfig(kNorthbridge, 256, {{0x00, 0x12031022}, {0xA4, kThermal55Celsius}, {0xFC, kFamily10hSignature}});
}

// Opens the requested file itself and remembers what it was asked for.
class RecordingOpener final : public ConfigFileOpener {
public:
    explicit RecordingOpener(std::vector<std::filesystem::path>& requests, std::vector<int>& descriptors)
        : m_requests(requests)
        , m_descriptors(descriptors)
    {
    }

    UniqueFd open(const std::filesystem::path& configFile) override
    {
        m_requests.push_back(configFile);
        UniqueFd fd(::open(configFile.c_str(), O_RDONLY | O_CLOEXEC));
        m_descriptors.push_back(fd.get());
        return fd;
    }

private:
    std::vector<std::filesystem::path>& m_requests;
    std::vector<int>& m_descriptors;
};

bool isOpen(int fd)
{
    return ::fcntl(fd, F_GETFD) != -1;
}

TEST(LinuxConfigSpaceTest, StartsOnAPresentNorthbridgeAndReadsItsRegisters)
{
    FixtureTree tree;
    writeFamily10hNorthbridge(tree);
    LinuxConfigSpace driver(tree.root());

    ASSERT_TRUE(driver.start());
    EXPECT_EQ(PciConfigRead(driver, 0x8000C3FC), kFamily10hSignature);
    EXPECT_EQ(PciConfigRead(driver, 0x8000C3A4), kThermal55Celsius);
    EXPECT_EQ(PciConfigRead(driver, 0x8000C300), 0x12031022u);
    FakeProcessorIdentity brand;
    EXPECT_EQ(testing::detectThroughConfigSpace(driver, testing::uncontended, brand).familyCode, L"10");
    EXPECT_EQ(testing::ConfigSpaceSampler(driver).sample(L"10"), L" 55'C");
}

TEST(LinuxConfigSpaceTest, DoesNotStartWithoutTheNorthbridgeFunction)
{
    FixtureTree tree;
    tree.writeConfig("0000:00:00.0", 256, {{0x00, 0x12001022}});
    LinuxConfigSpace driver(tree.root());

    EXPECT_FALSE(driver.start());
    EXPECT_EQ(readConfigRegister(driver, 0x8000C3A4), std::nullopt);
}

// An unprivileged opener sees only the first 64 bytes of the file.
TEST(LinuxConfigSpaceTest, DoesNotStartWhenOnlyTheFirst64BytesAreVisible)
{
    FixtureTree tree;
    tree.writeConfig(kNorthbridge, 64, {{0x00, 0x12031022}});
    std::vector<std::filesystem::path> requests;
    std::vector<int> descriptors;
    LinuxConfigSpace driver(tree.root(), std::make_unique<RecordingOpener>(requests, descriptors));

    EXPECT_FALSE(driver.start());
    ASSERT_EQ(descriptors.size(), 1u);
    EXPECT_FALSE(isOpen(descriptors[0])) << "a refused descriptor must not be kept";
}

// A FIFO in place of the file would hold an open that waits for a writer
// for ever; the alarm ends the test then instead.
TEST(LinuxConfigSpaceTest, DoesNotStartOnAConfigFileThatIsNotARegularFile)
{
    FixtureTree tree;
    const std::filesystem::path config = tree.writeConfig(kNorthbridge, 0, {});
    std::filesystem::remove(config);
    ASSERT_EQ(::mkfifo(config.c_str(), 0600), 0);
    ::alarm(5);
    EXPECT_FALSE(LinuxConfigSpace(tree.root(), std::make_unique<EarlyConfigFileOpener>(config)).start());
    ::alarm(0);
}

TEST(LinuxConfigSpaceTest, ObtainsTheDescriptorOnceForTheNorthbridgeConfigFile)
{
    FixtureTree tree;
    writeFamily10hNorthbridge(tree);
    std::vector<std::filesystem::path> requests;
    std::vector<int> descriptors;
    LinuxConfigSpace driver(tree.root(), std::make_unique<RecordingOpener>(requests, descriptors));

    ASSERT_TRUE(driver.start());
    ASSERT_TRUE(driver.start());
    for (int tick = 0; tick < 5; ++tick)
        PciConfigRead(driver, 0x8000C3A4);

    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], tree.root() / "devices" / "0000:00:18.3" / "config");
    EXPECT_TRUE(isOpen(descriptors[0]));
}

// Registers are read through the descriptor held since the start, not by
// opening the file again (which would need the rights again).
TEST(LinuxConfigSpaceTest, KeepsReadingThroughItsDescriptorAfterTheFileIsGone)
{
    FixtureTree tree;
    writeFamily10hNorthbridge(tree);
    LinuxConfigSpace driver(tree.root());
    ASSERT_TRUE(driver.start());

    std::filesystem::remove_all(tree.root() / "devices");

    EXPECT_EQ(PciConfigRead(driver, 0x8000C3A4), kThermal55Celsius);
}

TEST(LinuxConfigSpaceTest, AbsentFunctionsReadAsAllOnes)
{
    FixtureTree tree;
    writeFamily10hNorthbridge(tree);
    LinuxConfigSpace driver(tree.root());
    ASSERT_TRUE(driver.start());

    // Bus 0, device 24, function 5 and bus 3, device 0, function 0.
    for (std::uint32_t address : {0x8000C5FCu, 0x80030000u}) {
        SCOPED_TRACE(address);
        EXPECT_EQ(readConfigRegister(driver, address), 0xFFFFFFFFu);
    }
}

TEST(LinuxConfigSpaceTest, ReadsOtherPresentFunctionsFromTheirOwnFiles)
{
    FixtureTree tree;
    writeFamily10hNorthbridge(tree);
    tree.writeConfig("0000:00:18.0", 64, {{0x00, 0x12001022}});
    LinuxConfigSpace driver(tree.root());
    ASSERT_TRUE(driver.start());

    EXPECT_EQ(PciConfigRead(driver, 0x8000C000), 0x12001022u);
}

// The configuration file is opened read-only, so no index can be written
// through it: a register behind an index/data pair is never read, and
// nothing in either function's file changes.
TEST(LinuxConfigSpaceTest, ReadsNoRegisterBehindAnIndexPairAndWritesNothing)
{
    FixtureTree tree;
    writeFamily10hNorthbridge(tree);
    const std::filesystem::path rootComplex =
        tree.writeConfig("0000:00:00.0", 256, {{0x00, 0x14501022}, {0x64, 0x2A600000}, {0xBC, 0x2A600000}});
    const auto contents = [](const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string before = contents(rootComplex);
    const std::string northbridgeBefore = contents(tree.root() / "devices" / kNorthbridge / "config");
    LinuxConfigSpace driver(tree.root());
    ASSERT_TRUE(driver.start());

    for (const IndexedRegister& pair : {kSmnReportedTemperature, kRootComplexReportedTemperature}) {
        SCOPED_TRACE(pair.index);
        EXPECT_EQ(readIndexed(driver, pair), std::nullopt);
    }
    EXPECT_EQ(contents(rootComplex), before);
    EXPECT_EQ(contents(tree.root() / "devices" / kNorthbridge / "config"), northbridgeBefore);
}

}  // namespace
}  // namespace veltaro
