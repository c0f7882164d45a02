// SPDX-License-Identifier: MIT
// A stand-in for pkexec plus the northbridge helper, for the tests of the
// receiving side: it answers on its standard input the way it is told.
//   standinhelper send <file>          one descriptor, exit 0
//   standinhelper send-and-fail <file> one descriptor, exit 1
//   standinhelper fail                 nothing, exit 1
//   standinhelper nothing              nothing, exit 0
//   standinhelper send-two <file>      two descriptors in one message, exit 0
//   standinhelper send-twice <file>    one descriptor in each of two messages, exit 0
//   standinhelper send-pipe            the read end of a pipe, exit 0
//   standinhelper send-writable <file> <file> opened for reading and writing, exit 0
//   standinhelper answer-late <s> <file> one descriptor after <s> seconds, exit 0
// Like pkexec, it exits with 127 before anything else when its SHELL is
// not listed in /etc/shells.
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

bool shellIsListed(const std::string& shell)
{
    std::ifstream shells("/etc/shells");
    std::string line;
    while (std::getline(shells, line)) {
        if (line == shell)
            return true;
    }
    return false;
}

bool sendDescriptors(const std::vector<int>& fds)
{
    char byte = 'V';
    iovec data{&byte, 1};
    alignas(cmsghdr) char control[CMSG_SPACE(2 * sizeof(int))] = {};
    msghdr message{};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = CMSG_SPACE(fds.size() * sizeof(int));
    cmsghdr* header = CMSG_FIRSTHDR(&message);
    header->cmsg_level = SOL_SOCKET;
    header->cmsg_type = SCM_RIGHTS;
    header->cmsg_len = CMSG_LEN(fds.size() * sizeof(int));
    std::memcpy(CMSG_DATA(header), fds.data(), fds.size() * sizeof(int));
    return ::sendmsg(STDIN_FILENO, &message, MSG_NOSIGNAL) == 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* shell = std::getenv("SHELL");
    if (shell != nullptr && !shellIsListed(shell))
        return 127;
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "send-writable" && argc > 2)
        return sendDescriptors({::open(argv[2], O_RDWR | O_CLOEXEC)}) ? 0 : 10;
    if (mode == "answer-late" && argc > 3) {
        ::sleep(static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)));
        return sendDescriptors({::open(argv[3], O_RDONLY | O_CLOEXEC)}) ? 0 : 10;
    }
    const int file = argc > 2 ? ::open(argv[2], O_RDONLY | O_CLOEXEC) : -1;
    if (mode == "send")
        return sendDescriptors({file}) ? 0 : 10;
    if (mode == "send-and-fail")
        return sendDescriptors({file}) ? 1 : 10;
    if (mode == "fail")
        return 1;
    if (mode == "nothing")
        return 0;
    if (mode == "send-two")
        return sendDescriptors({file, file}) ? 0 : 10;
    if (mode == "send-twice")
        return sendDescriptors({file}) && sendDescriptors({file}) ? 0 : 10;
    if (mode == "send-pipe") {
        int ends[2];
        return ::pipe(ends) == 0 && sendDescriptors({ends[0]}) ? 0 : 10;
    }
    return 20;
}
