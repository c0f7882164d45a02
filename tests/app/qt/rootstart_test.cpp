// SPDX-License-Identifier: MIT
// The program itself, started as root the way sudo leaves it: by the time
// its window toolkit connects to the display, it must run as the user who
// started it, without root's capabilities. A stand-in display server, a
// socket in the abstract namespace where the X library looks first, takes
// the connection and asks the kernel who made it. Needs root; skipped
// without.
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "processrights.h"
#include "uniquefd.h"

namespace veltaro {
namespace {

constexpr uid_t kNobody = 65534;  // and the group nogroup

// Listens where an X server for `display` would; invalid when that
// display is taken.
UniqueFd listenAsDisplay(int display)
{
    UniqueFd server(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string name = "/tmp/.X11-unix/X" + std::to_string(display);
    std::memcpy(address.sun_path + 1, name.data(), name.size());  // sun_path[0] = 0: abstract
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    if (!server.valid() || ::bind(server.get(), reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
        ::listen(server.get(), 1) != 0)
        return {};
    return server;
}

TEST(RootStartTest, TheWindowToolkitStartsAsTheUserWhoRanSudo)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "the program is started as root here (CI runs as root)";
    int display = 170;
    UniqueFd server = listenAsDisplay(display);
    while (!server.valid() && ++display < 200)
        server = listenAsDisplay(display);
    ASSERT_TRUE(server.valid()) << "no free display number";

    const std::string nobody = std::to_string(kNobody);
    std::vector<std::string> environment{"DISPLAY=:" + std::to_string(display), "QT_QPA_PLATFORM=xcb",
                                         "SUDO_UID=" + nobody, "SUDO_GID=" + nobody, "PATH=/usr/bin:/bin"};
    std::vector<char*> envp;
    envp.reserve(environment.size() + 1);
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(VELTARO_PROGRAM), nullptr};
    pid_t program = -1;
    ASSERT_EQ(::posix_spawn(&program, VELTARO_PROGRAM, nullptr, nullptr, argv, envp.data()), 0);

    pollfd connecting{server.get(), POLLIN, 0};
    const bool connected = ::poll(&connecting, 1, 20'000) == 1;
    const UniqueFd client(connected ? ::accept4(server.get(), nullptr, nullptr, SOCK_CLOEXEC) : -1);
    ucred peer{};
    socklen_t peerLength = sizeof peer;
    const bool known = client.valid() && ::getsockopt(client.get(), SOL_SOCKET, SO_PEERCRED, &peer, &peerLength) == 0;
    const bool capable = testing::holdsCapabilities(program);
    ::kill(program, SIGKILL);
    ::waitpid(program, nullptr, 0);

    ASSERT_TRUE(known) << "the program did not connect to the display";
    EXPECT_EQ(peer.pid, program);
    EXPECT_EQ(peer.uid, kNobody);
    EXPECT_EQ(peer.gid, kNobody);
    EXPECT_FALSE(capable);
}

// A variable that is no id: one line that names it, and status 1.
TEST(RootStartTest, AMalformedIdVariableIsNamedInOneLine)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root";
    const std::pair<std::string, std::string> rows[] = {{"SUDO_UID=65534x", "SUDO_UID"},
                                                        {"SUDO_UID=65534 SUDO_GID=", "SUDO_GID"},
                                                        {"PKEXEC_UID=4294967296", "PKEXEC_UID"}};
    for (const auto& [variables, culprit] : rows) {
        SCOPED_TRACE(variables);
        const std::string command = "env -i QT_QPA_PLATFORM=offscreen " + variables + " " VELTARO_PROGRAM " 2>&1";
        FILE* program = ::popen(command.c_str(), "r");  // NOLINT(cert-env33-c): the test's own command
        std::string said(256, '\0');
        said.resize(std::fread(said.data(), 1, said.size(), program));
        EXPECT_EQ(::pclose(program), 1 << 8);
        EXPECT_EQ(said.rfind("veltaro: " + culprit + " \"", 0), 0u) << said;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    }
}

}  // namespace
}  // namespace veltaro
