// SPDX-License-Identifier: MIT
#include "helperconfigfileopener.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <thread>

namespace veltaro {

namespace {

using Clock = std::chrono::steady_clock;

// Room for a few descriptors, so that a peer sending more than one is
// seen doing so (and its extra descriptors closed) rather than cut off.
constexpr std::size_t kControlRoom = 4;

// How long an ended command may take to disappear.
constexpr std::chrono::seconds kReapLimit{2};

// pkexec takes over a few of its caller's variables and exits with 127,
// before asking anything, when one looks wrong to it: a SHELL that
// /etc/shells does not list, a "/" or ".." in LANG or TERM. The helper
// reads none of them, so the command gets only a search path of its own.
char kSearchPath[] = "PATH=/usr/sbin:/usr/bin:/sbin:/bin";
char* const kCommandEnvironment[] = {kSearchPath, nullptr};

// A launcher may leave SIGCHLD ignored, which this process inherits; the
// kernel then reaps children by itself, waitpid finds none, and a helper
// that succeeded would count as failed.
void restoreDefaultChildSignal()
{
    struct sigaction current {};
    if (::sigaction(SIGCHLD, nullptr, &current) != 0)
        return;
    if (current.sa_handler == SIG_IGN || (current.sa_flags & SA_NOCLDWAIT) != 0) {
        struct sigaction standard {};
        standard.sa_handler = SIG_DFL;
        ::sigaction(SIGCHLD, &standard, nullptr);
    }
}

enum class Waited { Exited, Lost, TimedOut };

// Waits until `child` has ended (its status in `status`) or `deadline` has
// passed. Lost: the child cannot be waited for.
Waited waitUntil(pid_t child, Clock::time_point deadline, int& status)
{
    // Readable once the child has ended; without it (kernels before 5.3)
    // the wait takes short naps instead. (glibc 2.36 declares pidfd_open
    // without C linkage for C++.)
    const UniqueFd ended(static_cast<int>(::syscall(SYS_pidfd_open, child, 0)));
    for (;;) {
        const pid_t waited = ::waitpid(child, &status, WNOHANG);
        if (waited == child)
            return Waited::Exited;
        if (waited < 0 && errno != EINTR)
            return Waited::Lost;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return Waited::TimedOut;
        if (ended.valid()) {
            pollfd notice{ended.get(), POLLIN, 0};
            ::poll(&notice, 1, static_cast<int>(std::min<std::chrono::milliseconds::rep>(left.count(), INT_MAX)));
        } else {
            std::this_thread::sleep_for(std::min<std::chrono::milliseconds>(left, std::chrono::milliseconds(20)));
        }
    }
}

// Starts `command` with `socket` as its standard input and waits for it,
// for `answerLimit` at most. True when it ran and exited with status 0.
bool runWithSocketAsStdin(const std::vector<std::string>& command, int socket, std::chrono::milliseconds answerLimit)
{
    std::vector<char*> argv;
    argv.reserve(command.size() + 1);
    for (const std::string& argument : command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    restoreDefaultChildSignal();
    // posix_spawn rather than fork: nothing of this (Qt) process runs in
    // the child between the two halves of starting it.
    posix_spawn_file_actions_t actions;
    if (::posix_spawn_file_actions_init(&actions) != 0)
        return false;
    pid_t child = -1;
    const bool spawned = ::posix_spawn_file_actions_adddup2(&actions, socket, STDIN_FILENO) == 0 &&
                         ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), kCommandEnvironment) == 0;
    ::posix_spawn_file_actions_destroy(&actions);
    if (!spawned)
        return false;

    int status = 0;
    switch (waitUntil(child, Clock::now() + answerLimit, status)) {
    case Waited::Exited:
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    case Waited::Lost:
        return false;
    case Waited::TimedOut:
        // Still pkexec, waiting for polkit, it runs with our real user id
        // and can be ended. Once it has become the helper it runs as root
        // and cannot be, but the helper never waits for anything.
        if (::kill(child, SIGKILL) == 0)
            waitUntil(child, Clock::now() + kReapLimit, status);
        return false;
    }
    return false;
}

// The descriptor is `file` itself, not any other file that the helper,
// or whatever answers in its place, could open, and it cannot write.
bool isReadOnlyDescriptorOf(int fd, const std::filesystem::path& file)
{
    struct stat received {};
    struct stat expected {};
    const int flags = ::fcntl(fd, F_GETFL);
    return ::fstat(fd, &received) == 0 && S_ISREG(received.st_mode) && ::stat(file.c_str(), &expected) == 0 &&
           received.st_dev == expected.st_dev && received.st_ino == expected.st_ino && flags >= 0 &&
           (flags & O_ACCMODE) == O_RDONLY && (flags & O_PATH) == 0;
}

}  // namespace

HelperConfigFileOpener::HelperConfigFileOpener(std::vector<std::string> command, std::filesystem::path servedFile,
                                               std::chrono::milliseconds answerLimit)
    : m_command(std::move(command))
    , m_servedFile(std::move(servedFile))
    , m_answerLimit(answerLimit)
{
}

UniqueFd HelperConfigFileOpener::open(const std::filesystem::path& configFile)
{
    // An absolute path only: nothing of the working folder or PATH decides
    // what is started.
    if (m_command.empty() || !std::filesystem::path(m_command.front()).is_absolute() || configFile != m_servedFile)
        return {};

    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return {};
    const UniqueFd ours(ends[0]);
    UniqueFd theirs(ends[1]);

    const bool succeeded = runWithSocketAsStdin(m_command, theirs.get(), m_answerLimit);
    // With the helper's end closed here too, reading finds the end of what
    // it sent instead of waiting for more.
    theirs.reset();
    UniqueFd received = receiveConfigFile(ours.get(), m_servedFile);
    if (!succeeded)
        return {};
    return received;
}

UniqueFd receiveConfigFile(int socket, const std::filesystem::path& expectedFile)
{
    std::vector<UniqueFd> descriptors;
    bool clean = true;
    for (;;) {
        char data[64];
        iovec buffer{data, sizeof data};
        alignas(cmsghdr) char control[CMSG_SPACE(kControlRoom * sizeof(int))];
        msghdr message{};
        message.msg_iov = &buffer;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;

        const ssize_t count = ::recvmsg(socket, &message, MSG_DONTWAIT | MSG_CMSG_CLOEXEC);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;  // the end, or nothing more without waiting
        for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr; header = CMSG_NXTHDR(&message, header)) {
            if (header->cmsg_level != SOL_SOCKET || header->cmsg_type != SCM_RIGHTS) {
                clean = false;
                continue;
            }
            const std::size_t fdCount = (header->cmsg_len - CMSG_LEN(0)) / sizeof(int);
            for (std::size_t i = 0; i < fdCount; ++i) {
                int fd;
                std::memcpy(&fd, CMSG_DATA(header) + i * sizeof(int), sizeof fd);
                descriptors.emplace_back(fd);
            }
        }
        if ((message.msg_flags & MSG_CTRUNC) != 0)
            clean = false;
    }
    if (!clean || descriptors.size() != 1 || !isReadOnlyDescriptorOf(descriptors.front().get(), expectedFile))
        return {};
    return std::move(descriptors.front());
}

}  // namespace veltaro
