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

#include <algorithm>
#include <csignal>
#include <cstddef>
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

// A variable that is no id ends the program before anything else runs,
// with one line that names it.
TEST(RootStartTest, AMalformedIdVariableIsNamedInOneLineAndEndsTheProgram)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root";
    struct Row {
        std::vector<std::string> environment;
        std::string culprit;
    };
    const Row rows[] = {{{"SUDO_UID=65534x", "SUDO_GID=65534"}, "SUDO_UID"},
                        {{"SUDO_UID=65534", "SUDO_GID="}, "SUDO_GID"},
                        {{"PKEXEC_UID=4294967296"}, "PKEXEC_UID"}};
    for (Row row : rows) {
        SCOPED_TRACE(row.culprit);
        std::vector<std::string>& environment = row.environment;
        environment.push_back("QT_QPA_PLATFORM=offscreen");
        std::vector<char*> envp;
        for (std::string& variable : environment)
            envp.push_back(variable.data());
        envp.push_back(nullptr);
        int pipeFds[2] = {-1, -1};
        ASSERT_EQ(::pipe(pipeFds), 0);
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
        char* argv[] = {const_cast<char*>(VELTARO_PROGRAM), nullptr};
        pid_t program = -1;
        ASSERT_EQ(::posix_spawn(&program, VELTARO_PROGRAM, &actions, nullptr, argv, envp.data()), 0);
        ::posix_spawn_file_actions_destroy(&actions);
        ::close(pipeFds[1]);
        std::string said;
        char buffer[256];
        for (ssize_t got; (got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
            said.append(buffer, static_cast<std::size_t>(got));
        ::close(pipeFds[0]);
        int status = 0;
        ::waitpid(program, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
        EXPECT_EQ(said.rfind("veltaro: " + row.culprit + " \"", 0), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
}

}  // namespace
}  // namespace veltaro
