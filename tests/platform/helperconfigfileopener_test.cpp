// SPDX-License-Identifier: MIT
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>
#include <system_error>

#include <gtest/gtest.h>

#include "fixturetree.h"
#include "helperconfigfileopener.h"
#include "linuxconfigspace.h"
#include "pciconfigread.h"

namespace veltaro {
namespace {

using testing::FixtureTree;

constexpr std::uint32_t kFamily10hSignature = 0x00100F42;
constexpr std::uint32_t kThermal55Celsius = 0x37000000;

// How many descriptors this process has open.
// (The listing's own descriptor is counted every time alike.)
int openDescriptorCount()
{
    std::error_code error;
    const std::filesystem::directory_iterator listing("/proc/self/fd", error);
    if (error)
        return -1;
    return static_cast<int>(std::distance(listing, std::filesystem::directory_iterator{}));
}

// What the process that starts the program may have left it with.
enum class Launcher { Plain, ShellNotInEtcShells, ChildSignalsIgnored };

// Sets up one kind of launcher for as long as it lives.
class LauncherGuard {
public:
    explicit LauncherGuard(Launcher launcher)
    {
        if (const char* shell = std::getenv("SHELL"))
            m_shell = shell;
        if (launcher == Launcher::ShellNotInEtcShells)
            ::setenv("SHELL", "/opt/nowhere/bin/zsh", 1);
        if (launcher == Launcher::ChildSignalsIgnored)
            std::signal(SIGCHLD, SIG_IGN);
    }
    LauncherGuard(const LauncherGuard&) = delete;
    LauncherGuard& operator=(const LauncherGuard&) = delete;
    ~LauncherGuard()
    {
        std::signal(SIGCHLD, SIG_DFL);
        if (m_shell)
            ::setenv("SHELL", m_shell->c_str(), 1);
        else
            ::unsetenv("SHELL");
    }

private:
    std::optional<std::string> m_shell;
};

struct HelperCase {
    const char* name;
    // After the stand-in's path; "@" is the config file, "#" another
    // function's config file with the same contents.
    std::vector<std::string> arguments;
    bool starts;
    Launcher launcher = Launcher::Plain;
};

void PrintTo(const HelperCase& row, std::ostream* out)
{
    *out << row.name;
}

class HelperConfigFileOpenerTest : public ::testing::TestWithParam<HelperCase> {};

// The driver starts only on exactly one descriptor, the config file itself
// open read-only, from a helper that exited with 0, whatever the launcher
// left this process with; on every refusal nothing stays open.
TEST_P(HelperConfigFileOpenerTest, StartsOnlyOnOneDescriptorFromASuccessfulHelper)
{
    FixtureTree tree;
    const std::filesystem::path config =
        tree.writeConfig("0000:00:18.3", 256, {{0xA4, kThermal55Celsius}, {0xFC, kFamily10hSignature}});
    const std::filesystem::path other =
        tree.writeConfig("0000:00:18.2", 256, {{0xA4, kThermal55Celsius}, {0xFC, kFamily10hSignature}});
    std::vector<std::string> command{VELTARO_STANDIN_HELPER};
    for (const std::string& argument : GetParam().arguments)
        command.push_back(argument == "@" ? config.string() : argument == "#" ? other.string() : argument);

    const LauncherGuard launcher(GetParam().launcher);
    const int before = openDescriptorCount();
    {
        LinuxConfigSpace driver(tree.root(), std::make_unique<HelperConfigFileOpener>(command, config));
        ASSERT_EQ(driver.start(), GetParam().starts);
        if (GetParam().starts) {
            EXPECT_EQ(PciConfigRead(driver, 0x8000C3A4), kThermal55Celsius);
            EXPECT_EQ(openDescriptorCount(), before + 1) << "exactly the northbridge's descriptor is kept";
        } else {
            EXPECT_EQ(openDescriptorCount(), before) << "a refused start leaked a descriptor";
        }
    }
    EXPECT_EQ(openDescriptorCount(), before);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Helpers, HelperConfigFileOpenerTest,
    ::testing::Values(
        HelperCase{"sends_one_descriptor", {"send", "@"}, true},
        HelperCase{"sends_one_but_exits_non_zero", {"send-and-fail", "@"}, false},
        HelperCase{"exits_non_zero", {"fail"}, false},
        HelperCase{"sends_nothing", {"nothing"}, false},
        HelperCase{"sends_two_descriptors", {"send-two", "@"}, false},
        HelperCase{"sends_two_messages", {"send-twice", "@"}, false},
        HelperCase{"sends_a_pipe", {"send-pipe"}, false},
        HelperCase{"sends_another_regular_file", {"send", "#"}, false},
        HelperCase{"sends_it_open_for_writing", {"send-writable", "@"}, false},
        HelperCase{"launched_with_a_shell_pkexec_refuses", {"send", "@"}, true, Launcher::ShellNotInEtcShells},
        HelperCase{"launched_with_child_signals_ignored", {"send", "@"}, true, Launcher::ChildSignalsIgnored}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Nobody answers polkit's question, or its agent hangs: start-up must not
// wait for ever with no window on screen.
TEST(HelperConfigFileOpenerTest, EndsAHelperThatHasNotAnsweredWithinTheLimit)
{
    FixtureTree tree;
    const std::filesystem::path config = tree.writeConfig("0000:00:18.3", 256, {{0xFC, kFamily10hSignature}});
    HelperConfigFileOpener opener({VELTARO_STANDIN_HELPER, "answer-late", "20", config.string()}, config,
                                  std::chrono::milliseconds(300));

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(opener.open(config).valid());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1) << "the helper is still running, or was never reaped";
    EXPECT_EQ(errno, ECHILD);
}

TEST(HelperConfigFileOpenerTest, FailsWhenTheLauncherIsMissingOrNotAnAbsolutePath)
{
    FixtureTree tree;
    const std::filesystem::path config = tree.writeConfig("0000:00:18.3", 256, {{0xFC, kFamily10hSignature}});
    const std::filesystem::path standIn = VELTARO_STANDIN_HELPER;
    std::filesystem::copy_file(standIn, tree.root() / "standinhelper");
    const int before = openDescriptorCount();

    for (const std::string& launcher : {(tree.root() / "no-pkexec-here").string(), std::string("standinhelper")}) {
        SCOPED_TRACE(launcher);
        // The relative name would find the stand-in from the fixture folder.
        const std::filesystem::path previous = std::filesystem::current_path();
        std::filesystem::current_path(tree.root());
        HelperConfigFileOpener opener({launcher, "send", config.string()}, config);
        const bool opened = opener.open(config).valid();
        std::filesystem::current_path(previous);
        EXPECT_FALSE(opened);
    }
    EXPECT_EQ(openDescriptorCount(), before);
}

// The helper always opens its own file: asked for another, the opener
// must not hand that one out as if it were the requested file.
TEST(HelperConfigFileOpenerTest, RefusesFilesOtherThanTheOneItsHelperOpens)
{
    FixtureTree tree;
    const std::filesystem::path config = tree.writeConfig("0000:00:18.3", 256, {{0xFC, kFamily10hSignature}});
    const std::filesystem::path other = tree.writeConfig("0000:00:18.2", 256, {{0xFC, kFamily10hSignature}});
    HelperConfigFileOpener opener({VELTARO_STANDIN_HELPER, "send", config.string()}, config);

    EXPECT_FALSE(opener.open(other).valid());
    EXPECT_TRUE(opener.open(config).valid());
}

}  // namespace
}  // namespace veltaro
