// SPDX-License-Identifier: MIT
// The privileged side: the helper, and the program started as root, each
// run as root in a private mount namespace where a tmpfs over the kernel's
// PCI devices folder holds a fixture northbridge. Needs root and mount
// namespaces; skipped without them.
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sched.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "helperconfigfileopener.h"
#include "linuxconfigspace.h"
#include "pciconfigread.h"
#include "processrights.h"
#include "systemservices.h"

namespace veltaro {
namespace {

constexpr char kDevices[] = "/sys/bus/pci/devices";
constexpr char kConfigFile[] = "/sys/bus/pci/devices/0000:00:18.3/config";
constexpr std::uint32_t kFamily10hSignature = 0x00100F42;
constexpr std::uint32_t kThermal55Celsius = 0x37000000;
constexpr int kSkip = 77;

// What the process in the namespace reports back.
struct Outcome {
    int helperStatus = -1;  // the helper's exit status
    bool receiverUnprivileged = false;
    int ownOpenErrno = 0;         // the receiver opening the file itself
    bool started = false;         // the start on the received descriptor
    std::uint32_t thermal = 0;    // register 0xA4
    std::uint32_t signature = 0;  // register 0xFC
};

// Hands a descriptor obtained elsewhere to the driver.
class GivenOpener final : public ConfigFileOpener {
public:
    explicit GivenOpener(UniqueFd fd)
        : m_fd(std::move(fd))
    {
    }
    UniqueFd open(const std::filesystem::path&) override { return std::move(m_fd); }

private:
    UniqueFd m_fd;
};

// None: no northbridge. File: 256 bytes of configuration space, readable
// by root only: the receiver can read it only through the helper's
// descriptor, as with the real file's registers past offset 64. Link: the
// same bytes elsewhere, with a link to them in the config file's place.
enum class Fixture { None, File, Link };

bool writeFixture(Fixture fixture)
{
    const std::string folder = std::string(kDevices) + "/0000:00:18.3";
    if (fixture == Fixture::None)
        return true;
    if (::mkdir(folder.c_str(), 0755) != 0)
        return false;
    const std::string file = fixture == Fixture::Link ? folder + "/elsewhere" : kConfigFile;
    unsigned char bytes[256] = {};
    for (const auto& [offset, value] : {std::pair{0xA4, kThermal55Celsius}, std::pair{0xFC, kFamily10hSignature}}) {
        for (int i = 0; i < 4; ++i)
            bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
    }
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes), sizeof bytes);
    return ::chmod(file.c_str(), 0400) == 0 && (fixture == Fixture::File || ::symlink(file.c_str(), kConfigFile) == 0);
}

// The program's start asks processor 0 of /proc/cpuinfo which ways it
// may take: the fixture's family 10h in place of this machine's processor,
// kept in the tmpfs and bound over the kernel's file.
bool writeProcessorDescription()
{
    const std::string file = std::string(kDevices) + "/.cpuinfo";
    std::ofstream(file) << "processor\t: 0\nvendor_id\t: AuthenticAMD\ncpu family\t: 16\nmodel\t\t: 4\n"
                           "model name\t: AMD Phenom(tm) II X4 955 Processor\nstepping\t: 2\n\n";
    return ::mount(file.c_str(), "/proc/cpuinfo", nullptr, MS_BIND, nullptr) == 0;
}

int runHelper(const std::vector<std::string>& arguments, int stdinFd)
{
    std::vector<char*> argv{const_cast<char*>(VELTARO_HELPER_BINARY)};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, stdinFd, STDIN_FILENO);
    pid_t child = -1;
    char* noEnvironment[] = {nullptr};
    const int spawned = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), noEnvironment);
    ::posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// Runs `body` as root in a forked child inside a new mount namespace with
// a tmpfs over the PCI devices folder; returns what it reports, or nothing
// when namespaces or the mount are not available here.
template <typename Result>
std::optional<Result> inPrivateNamespace(Fixture fixture, const std::function<Result()>& body)
{
    int report[2];
    if (::pipe(report) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("veltaro-test", kDevices, "tmpfs", MS_NOSUID | MS_NODEV, "mode=0755") != 0)
            ::_exit(kSkip);
        if (!writeFixture(fixture) || !writeProcessorDescription())
            ::_exit(1);
        const Result outcome = body();
        const bool written = ::write(report[1], &outcome, sizeof outcome) == sizeof outcome;
        ::_exit(written ? 0 : 1);
    }
    ::close(report[1]);
    Result outcome;
    const bool read = ::read(report[0], &outcome, sizeof outcome) == sizeof outcome;
    ::close(report[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == kSkip)
        return std::nullopt;
    EXPECT_TRUE(read && WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the namespace process failed";
    return outcome;
}

class NorthbridgeHelperTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "the helper's tests run as root (CI does)";
    }
};

TEST_F(NorthbridgeHelperTest, HandsItsDescriptorToAnUnprivilegedReceiverThatReadsPastOffset64)
{
    // cppcheck-suppress getpwnamCalled ; the test asks once, before any thread starts
    const passwd* nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;

    const auto outcome = inPrivateNamespace<Outcome>(Fixture::File, [uid, gid] {
        Outcome result;
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
            return result;
        result.helperStatus = runHelper({}, ends[1]);
        ::close(ends[1]);

        // The receiver drops to nobody before it takes the descriptor.
        if (::setgroups(0, nullptr) != 0 || ::setresgid(gid, gid, gid) != 0 || ::setresuid(uid, uid, uid) != 0)
            return result;
        result.receiverUnprivileged = ::geteuid() != 0 && ::getuid() != 0;
        const int own = ::open(kConfigFile, O_RDONLY | O_CLOEXEC);
        result.ownOpenErrno = own < 0 ? errno : 0;

        LinuxConfigSpace driver("/sys/bus/pci", std::make_unique<GivenOpener>(receiveConfigFile(ends[0], kConfigFile)));
        result.started = driver.start();
        result.thermal = PciConfigRead(driver, 0x8000C3A4);
        result.signature = PciConfigRead(driver, 0x8000C3FC);
        return result;
    });
    if (!outcome)
        GTEST_SKIP() << "no private mount namespace with a tmpfs over " << kDevices << " here";

    EXPECT_EQ(outcome->helperStatus, 0);
    EXPECT_TRUE(outcome->receiverUnprivileged);
    EXPECT_EQ(outcome->ownOpenErrno, EACCES) << "the receiver must not be able to open the file itself";
    EXPECT_TRUE(outcome->started);
    EXPECT_EQ(outcome->thermal, kThermal55Celsius);
    EXPECT_EQ(outcome->signature, kFamily10hSignature);
}

struct RefusalCase {
    const char* name;
    Fixture fixture;
    bool socketAsStdin;
    std::vector<std::string> arguments;
};

void PrintTo(const RefusalCase& row, std::ostream* out)
{
    *out << row.name;
}

class NorthbridgeHelperRefusalTest : public NorthbridgeHelperTest, public ::testing::WithParamInterface<RefusalCase> {};

// It fails closed: a non-zero status and nothing on the socket.
TEST_P(NorthbridgeHelperRefusalTest, ExitsNonZeroHavingSentNothing)
{
    const RefusalCase& refusal = GetParam();
    const auto outcome = inPrivateNamespace<Outcome>(refusal.fixture, [&refusal] {
        Outcome result;
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
            return result;
        const int devNull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
        result.helperStatus = runHelper(refusal.arguments, refusal.socketAsStdin ? ends[1] : devNull);
        ::close(ends[1]);
        char byte;
        result.started = ::recv(ends[0], &byte, 1, MSG_DONTWAIT) > 0;
        return result;
    });
    if (!outcome)
        GTEST_SKIP() << "no private mount namespace with a tmpfs over " << kDevices << " here";

    EXPECT_NE(outcome->helperStatus, 0);
    EXPECT_NE(outcome->helperStatus, -1) << "the helper did not run";
    EXPECT_FALSE(outcome->started) << "something was sent";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Refusals, NorthbridgeHelperRefusalTest,
    ::testing::Values(
        RefusalCase{"no_northbridge", Fixture::None, true, {}},
        RefusalCase{"stdin_not_a_socket", Fixture::File, false, {}},
        RefusalCase{"any_argument", Fixture::File, true, {"/etc/shadow"}},
        RefusalCase{"config_is_a_link", Fixture::Link, true, {}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// What the program started as root reports once it has given up root.
struct RootStartOutcome {
    bool dropped = false;  // what dropToInvokingUser returned
    uid_t uids[3] = {};    // real, effective, saved
    gid_t gids[3] = {};
    bool keepsRootGroup = true;
    bool holdsCapabilities = true;
    bool started = false;       // the start after the drop
    std::uint32_t thermal = 0;  // register 0xA4
};

struct RootStartCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> environment;  // what sudo or pkexec left
    uid_t expectedId;                                              // user and group alike
};

void PrintTo(const RootStartCase& row, std::ostream* out)
{
    *out << row.name;
}

class RootStartTest : public NorthbridgeHelperTest, public ::testing::WithParamInterface<RootStartCase> {};

// Started as root through sudo or pkexec, the program opens the registers
// first and then runs as the user who started it: that user's ids, none of
// root's groups or capabilities, and a driver that still reads past offset
// 64. A root login keeps root. These are the steps of the program's main
// before the window toolkit starts.
TEST_P(RootStartTest, OpensTheRegistersThenRunsAsTheInvokingUser)
{
    const RootStartCase& start = GetParam();
    const auto outcome = inPrivateNamespace<RootStartOutcome>(Fixture::File, [&start] {
        RootStartOutcome result;
        for (const char* name : {"SUDO_UID", "SUDO_GID", "PKEXEC_UID"})
            ::unsetenv(name);
        for (const auto& [name, value] : start.environment)
            ::setenv(name, value, 1);
        const gid_t rootGroup = 0;
        if (::setgroups(1, &rootGroup) != 0)
            return result;

        const auto readings = createSystemReadingSource();
        result.dropped = dropToInvokingUser();
        ::getresuid(&result.uids[0], &result.uids[1], &result.uids[2]);
        ::getresgid(&result.gids[0], &result.gids[1], &result.gids[2]);
        std::vector<gid_t> groups(64);
        groups.resize(static_cast<std::size_t>(std::max(::getgroups(64, groups.data()), 0)));
        result.keepsRootGroup = std::find(groups.begin(), groups.end(), rootGroup) != groups.end();
        result.holdsCapabilities = testing::holdsCapabilities(::getpid());
        result.started = readings->start();
        const std::optional<SourceReading> reading =
            readings->read(*findProcessorFamily(ProcessorVendor::Amd, 0x10, 0x04));
        result.thermal = reading ? static_cast<std::uint32_t>(reading->value) : 0;
        return result;
    });
    if (!outcome)
        GTEST_SKIP() << "no private mount namespace with a tmpfs over " << kDevices << " here";

    EXPECT_TRUE(outcome->dropped);
    for (const uid_t uid : outcome->uids)
        EXPECT_EQ(uid, start.expectedId);
    for (const gid_t gid : outcome->gids)
        EXPECT_EQ(gid, start.expectedId);
    if (start.expectedId != 0) {
        EXPECT_FALSE(outcome->keepsRootGroup);
        EXPECT_FALSE(outcome->holdsCapabilities);
    }
    EXPECT_TRUE(outcome->started);
    EXPECT_EQ(outcome->thermal, kThermal55Celsius);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Starts, RootStartTest,
    ::testing::Values(
        RootStartCase{"sudo", {{"SUDO_UID", "65534"}, {"SUDO_GID", "65534"}}, 65534},
        RootStartCase{"pkexec", {{"PKEXEC_UID", "65534"}}, 65534},  // nobody, whose group is nogroup
        RootStartCase{"root_login", {}, 0}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace veltaro
