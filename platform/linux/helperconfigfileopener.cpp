#include "helperconfigfileopener.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace veltaro {

namespace {

// Room for a few descriptors, so that a peer sending more than one is
// seen doing so (and its extra descriptors closed) rather than cut off.
constexpr std::size_t kControlRoom = 4;

// Starts `command` with `socket` as its standard input and waits for it.
// True when it ran and exited with status 0.
bool runWithSocketAsStdin(const std::vector<std::string>& command, int socket)
{
    std::vector<char*> argv;
    argv.reserve(command.size() + 1);
    for (const std::string& argument : command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    // posix_spawn rather than fork: nothing of this (Qt) process runs in
    // the child between the two halves of starting it.
    posix_spawn_file_actions_t actions;
    if (::posix_spawn_file_actions_init(&actions) != 0)
        return false;
    pid_t child = -1;
    const bool spawned = ::posix_spawn_file_actions_adddup2(&actions, socket, STDIN_FILENO) == 0 &&
                         ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    ::posix_spawn_file_actions_destroy(&actions);
    if (!spawned)
        return false;

    int status = 0;
    pid_t waited;
    do {
        waited = ::waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    return waited == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
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

HelperConfigFileOpener::HelperConfigFileOpener(std::vector<std::string> command, std::filesystem::path servedFile)
    : m_command(std::move(command))
    , m_servedFile(std::move(servedFile))
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

    const bool succeeded = runWithSocketAsStdin(m_command, theirs.get());
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
