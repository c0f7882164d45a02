// SPDX-License-Identifier: MIT
#include "linuxshell.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <strings.h>

namespace veltaro {

LinuxShell::LinuxShell(std::string opener)
    : m_opener(std::move(opener))
{
}

bool LinuxShell::execute(WindowHandle /*owner*/, const std::string& operation, const std::string& file,
                         const std::string& /*parameters*/, const std::string& directory, int /*showCommand*/)
{
    if (::strcasecmp(operation.c_str(), "open") != 0)
        return false;

    // Everything the child needs is prepared before fork: between fork and
    // exec only async-signal-safe calls are allowed.
    char* const argv[] = {const_cast<char*>(m_opener.c_str()), const_cast<char*>(file.c_str()), nullptr};
    const char* folder = directory.empty() ? nullptr : directory.c_str();

    // Fork twice so the opener is adopted by init and never left a zombie
    // of ours, however long the mail program keeps it running.
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        if (::fork() != 0)
            ::_exit(0);
        ::setsid();
        if (folder != nullptr && ::chdir(folder) != 0)
            ::_exit(127);
        ::execvp(argv[0], argv);
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace veltaro
