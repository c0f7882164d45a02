// SPDX-License-Identifier: MIT
// veltaro-northbridge-open: the one step of Veltaro that runs as root.
//
// Started through pkexec with a Unix socket as its standard input, it opens
// the processor northbridge's PCI configuration file read-only and passes
// the open descriptor back over that socket. The kernel shows the registers
// past offset 64 to whoever holds a descriptor opened by root, so the caller
// can read the temperature without ever running as root itself.
//
// It takes no arguments, reads no environment, opens no other path and
// never writes to the file. Any failure ends it with a non-zero status
// before anything has been sent.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace {

constexpr char kConfigFile[] = "/sys/bus/pci/devices/0000:00:18.3/config";
constexpr int kSocket = STDIN_FILENO;

bool isUnixSocket(int fd)
{
    struct stat status {};
    int domain = 0;
    socklen_t length = sizeof domain;
    return ::fstat(fd, &status) == 0 && S_ISSOCK(status.st_mode) &&
           ::getsockopt(fd, SOL_SOCKET, SO_DOMAIN, &domain, &length) == 0 && domain == AF_UNIX;
}

bool sendDescriptor(int socket, int fd)
{
    char byte = 'V';  // a stream socket carries ancillary data only with data
    iovec data{&byte, 1};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr message{};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* header = CMSG_FIRSTHDR(&message);
    header->cmsg_level = SOL_SOCKET;
    header->cmsg_type = SCM_RIGHTS;
    header->cmsg_len = CMSG_LEN(sizeof(int));
    std::memcpy(CMSG_DATA(header), &fd, sizeof fd);
    return ::sendmsg(socket, &message, MSG_NOSIGNAL) == 1;
}

}  // namespace

int main(int argc, char**)
{
    if (argc != 1 || !isUnixSocket(kSocket))
        return 2;
    // The path is fixed and lies in sysfs, which only the kernel shapes;
    // the descriptor must be the plain file itself, nothing that blocks.
    // The device's folder there is a link, the file itself never is: one
    // found in its place is not followed.
    const int fd = ::open(kConfigFile, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW);
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return 3;
    return sendDescriptor(kSocket, fd) ? 0 : 4;
}
