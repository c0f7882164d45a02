// SPDX-License-Identifier: MIT
#include <sched.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include <gtest/gtest.h>

#include "codepage.h"
#include "cpuinfoblocks.h"
#include "fakecomputername.h"
#include "fixturetree.h"
#include "functions.h"
#include "identification.h"
#include "linuxcomputername.h"
#include "linuxhardwareregistry.h"
#include "localeguard.h"
#include "recordingmessageservice.h"

namespace veltaro {
namespace {

const std::filesystem::path kFixtures = VELTARO_CPUINFO_FIXTURES;
constexpr wchar_t kProcessorsKey[] = L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\";

// A connected reader over the tree built from one processor description.
struct Machine {
    explicit Machine(const std::filesystem::path& cpuInfo)
        : registry(cpuInfo, "box")
    {
        EXPECT_EQ(functions.ConnectRegistry(L"box"), 0);
    }

    std::wstring processorValue(int number, const wchar_t* name)
    {
        return functions.ReadRegistryValue(kProcessorsKey + std::to_wstring(number), name);
    }

    LinuxHardwareRegistry registry;
    FakeComputerName computerName{"box"};
    RecordingMessageService messages;
    Functions functions{registry, computerName, messages};
};

struct ProcessorRow {
    int number;
    std::wstring name;
    std::wstring identifier;
    std::wstring megahertz;  // "~MHz" as the reader renders it
};

struct MachineCase {
    const char* name;
    const char* file;
    std::vector<ProcessorRow> processors;  // the first one absent from the description
};

void PrintTo(const MachineCase& row, std::ostream* out)
{
    *out << row.name;
}

class HardwareTreeTest : public ::testing::TestWithParam<MachineCase> {};

TEST_P(HardwareTreeTest, DescribesEachLogicalProcessor)
{
    Machine machine(kFixtures / GetParam().file);

    EXPECT_EQ(machine.functions.ReadRegistryValue(L"HARDWARE\\Description\\System", L"Identifier"),
              L"AT/AT COMPATIBLE");
    for (const ProcessorRow& row : GetParam().processors) {
        SCOPED_TRACE(row.number);
        EXPECT_EQ(machine.processorValue(row.number, L"ProcessorNameString"), row.name);
        EXPECT_EQ(machine.processorValue(row.number, L"Identifier"), row.identifier);
        EXPECT_EQ(machine.processorValue(row.number, L"~MHz"), row.megahertz);
        EXPECT_EQ(machine.processorValue(row.number, L"VendorIdentifier"), L"AuthenticAMD");
    }
    EXPECT_EQ(machine.processorValue(static_cast<int>(GetParam().processors.size()), L"VendorIdentifier"), L"");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Fixtures, HardwareTreeTest,
    ::testing::Values(
        MachineCase{"family10h_phenom_ii_x4", "amd-family10h-phenom-ii-x4.cpuinfo",
                    {{0, L"AMD Phenom(tm) II X4 965 Processor", L"AMD64 Family 16 Model 4 Stepping 3", L"320"},
                     {1, L"AMD Phenom(tm) II X4 965 Processor", L"AMD64 Family 16 Model 4 Stepping 3", L"D48"},
                     {2, L"AMD Phenom(tm) II X4 965 Processor", L"AMD64 Family 16 Model 4 Stepping 3", L"320"},
                     {3, L"AMD Phenom(tm) II X4 965 Processor", L"AMD64 Family 16 Model 4 Stepping 3", L"834"}}},
        MachineCase{"family0Fh_athlon64_x2", "amd-family0fh-athlon64-x2.cpuinfo",
                    {{0, L"AMD Athlon(tm) 64 X2 Dual Core Processor 4200+", L"AMD64 Family 15 Model 107 Stepping 1",
                      L"898"},
                     {1, L"AMD Athlon(tm) 64 X2 Dual Core Processor 4200+", L"AMD64 Family 15 Model 107 Stepping 1",
                      L"3E8"}}},
        // The second processor is cut off in the middle of a line: what was
        // said of it stands, nothing is made up.
        MachineCase{"truncated", "amd-family10h-truncated.cpuinfo",
                    {{0, L"AMD Athlon(tm) II X2 250 Processor", L"AMD64 Family 16 Model 2 Stepping 3", L"BB8"},
                     {1, L"", L"", L""}}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Without a description of x86 processors there is nothing to show, and the
// user is told about an access error.
TEST(HardwareTreeTest, IsEmptyWithoutAnX86ProcessorDescription)
{
    for (const char* file : {"no-such-file.cpuinfo", "arm64-raspberry-pi.cpuinfo"}) {
        SCOPED_TRACE(file);
        Machine machine(kFixtures / file);
        EXPECT_EQ(identifyProcessor(machine.functions, machine.messages), std::nullopt);
        ASSERT_EQ(machine.messages.shown.size(), 1u);
        EXPECT_EQ(machine.messages.shown[0].text, kPermissionMessage);
    }
}

// The text entry builds the same tree as the file it was read from.
TEST(HardwareTreeTest, BuildsTheSameTreeFromTheDescriptionsText)
{
    const std::filesystem::path file = kFixtures / "amd-family10h-phenom-ii-x4.cpuinfo";
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LinuxHardwareRegistry fromText = LinuxHardwareRegistry::fromText(text, "box");
    Machine fromFile(file);
    FakeComputerName computerName{"box"};
    RecordingMessageService messages;
    Functions functions{fromText, computerName, messages};
    ASSERT_EQ(functions.ConnectRegistry(L"box"), 0);
    for (const wchar_t* name : {L"ProcessorNameString", L"Identifier", L"~MHz", L"VendorIdentifier"}) {
        for (int number = 0; number < 5; ++number) {
            SCOPED_TRACE(number);
            EXPECT_EQ(functions.ReadRegistryValue(kProcessorsKey + std::to_wstring(number), name),
                      fromFile.processorValue(number, name));
        }
    }
    EXPECT_EQ(functions.ReadRegistryValue(L"HARDWARE\\DESCRIPTION\\System", L"Identifier"), L"AT/AT COMPATIBLE");
}

struct IdentifierCase {
    const char* name;
    std::string block;
    std::wstring identifier;
};

void PrintTo(const IdentifierCase& row, std::ostream* out)
{
    *out << row.name;
}

class ProcessorIdentifierTest : public ::testing::TestWithParam<IdentifierCase> {};

TEST_P(ProcessorIdentifierTest, NamesTheArchitectureAsWindowsDoes)
{
    testing::FixtureTree folder;
    std::ofstream(folder.root() / "cpuinfo") << "processor\t: 0\n" << GetParam().block;
    Machine machine(folder.root() / "cpuinfo");
    EXPECT_EQ(machine.processorValue(0, L"Identifier"), GetParam().identifier);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Vendors, ProcessorIdentifierTest,
    ::testing::Values(
        IdentifierCase{"intel_64_bit",
                       "vendor_id\t: GenuineIntel\ncpu family\t: 6\nmodel\t\t: 158\nstepping\t: 10\nflags\t\t: fpu lm\n",
                       L"Intel64 Family 6 Model 158 Stepping 10"},
        IdentifierCase{"amd_32_bit",
                       "vendor_id\t: AuthenticAMD\ncpu family\t: 6\nmodel\t\t: 8\nstepping\t: 1\nflags\t\t: fpu 3dnow\n",
                       L"x86 Family 6 Model 8 Stepping 1"},
        // "lm" only counts as a whole word.
        IdentifierCase{"lm_inside_other_flags",
                       "vendor_id\t: AuthenticAMD\ncpu family\t: 6\nmodel\t\t: 8\nstepping\t: 1\nflags\t\t: lahf_lm\n",
                       L"x86 Family 6 Model 8 Stepping 1"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Paths, value names and the computer name compare regardless of case.
TEST(HardwareTreeTest, ComparesNamesRegardlessOfCase)
{
    Machine machine(kFixtures / "amd-family10h-phenom-ii-x4.cpuinfo");
    EXPECT_EQ(machine.functions.ReadRegistryValue(L"hardware\\DESCRIPTION\\system\\centralprocessor\\0",
                                                  L"processornamestring"),
              L"AMD Phenom(tm) II X4 965 Processor");
    EXPECT_EQ(machine.functions.ConnectRegistry(L"BOX"), 0);
    EXPECT_EQ(machine.functions.ConnectRegistry(L"box2"), 1);
}

TEST(HardwareTreeTest, ShowsANonAsciiProcessorNameInTheUsersEncoding)
{
    testing::FixtureTree folder;
    // "Prüfprozessor für Übungen" in UTF-8.
    std::ofstream(folder.root() / "cpuinfo")
        << "processor\t: 0\nvendor_id\t: AuthenticAMD\ncpu family\t: 16\nmodel\t\t: 4\nstepping\t: 2\n"
           "model name\t: Pr\xC3\xBC"
           "fprozessor f\xC3\xBCr \xC3\x9C"
           "bungen\nflags\t\t: lm\n";

    testing::LocaleGuard utf8("C.UTF-8");
    ASSERT_TRUE(utf8.active());
    Machine machine(folder.root() / "cpuinfo");
    EXPECT_EQ(identifyProcessor(machine.functions, machine.messages), L" CPU: Pr\u00FC"
                                                                      L"fprozessor f\u00FCr \u00DC"
                                                                      L"bungen");
}

// A line past what the kernel writes is cut; the lines after it count.
TEST(CpuInfoBlocksTest, CutsALineLongerThanTheKernelEverWrites)
{
    std::istringstream in("processor\t: 0\nflags\t\t: " + std::string(1 << 20, 'x') + "\nvendor_id\t: AuthenticAMD\n");
    const std::vector<CpuInfoFields> blocks = readCpuInfoBlocks(in);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_LE(blocks[0].at("flags").size(), 64u * 1024);
    EXPECT_EQ(blocks[0].at("vendor_id"), "AuthenticAMD");
}

struct HostNameCase {
    const char* name;
    const char* locale;
    std::string hostName;  // bytes, as the kernel keeps them
};

void PrintTo(const HostNameCase& row, std::ostream* out)
{
    *out << row.name;
}

class LocalHostNameTest : public ::testing::TestWithParam<HostNameCase> {};

// The kernel takes any bytes as the host name. Read through the system's
// computer name, turned into text and handed back to the registry stand-in
// for the connection, the name must still be this computer's, whatever the
// locale: otherwise the user is told the registry cannot be reached.
TEST_P(LocalHostNameTest, ConnectsToTheLocalRegistryWhateverTheLocale)
{
    // A host name of our own, in a namespace of this test process alone.
    if (::unshare(CLONE_NEWUTS) != 0)
        GTEST_SKIP() << "no host name namespace here (needs root)";
    ASSERT_EQ(::sethostname(GetParam().hostName.data(), GetParam().hostName.size()), 0);
    testing::LocaleGuard locale(GetParam().locale);
    ASSERT_TRUE(locale.active());

    LinuxHardwareRegistry registry(kFixtures / "amd-family10h-phenom-ii-x4.cpuinfo");
    LinuxComputerName computerName;
    RecordingMessageService messages;
    Functions functions(registry, computerName, messages);

    EXPECT_EQ(functions.ConnectRegistry(functions.GetHostName()), 0);
    EXPECT_TRUE(messages.shown.empty());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Names, LocalHostNameTest,
    ::testing::Values(
        HostNameCase{"utf8_name_under_lang_c", "C", "caf\xC3\xA9"},
        HostNameCase{"latin1_name_under_utf8", "C.UTF-8", "caf\xE9"},
        HostNameCase{"cut_utf8_under_utf8", "C.UTF-8", "box-\xE2\x84"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// The real machine: the system's own services, end to end.
TEST(SystemHardwareTreeTest, ShowsTheKernelsModelNameOfProcessor0)
{
    std::ifstream cpuInfo("/proc/cpuinfo");
    std::string line;
    std::string modelName;
    while (modelName.empty() && std::getline(cpuInfo, line)) {
        if (line.starts_with("model name"))
            modelName = line.substr(line.find(": ") + 2);
    }
    if (modelName.empty())
        GTEST_SKIP() << "this kernel reports no x86 model name";

    LinuxHardwareRegistry registry;
    LinuxComputerName computerName;
    RecordingMessageService messages;
    Functions functions(registry, computerName, messages);

    EXPECT_EQ(identifyProcessor(functions, messages), L" CPU: " + fromSystemCodePage(modelName));
    EXPECT_FALSE(functions.ProcessorName().empty());
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace veltaro
