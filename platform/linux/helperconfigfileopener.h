// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "configfileopener.h"

namespace veltaro {

// Obtains the northbridge's descriptor from the privileged helper
// veltaro-northbridge-open, started through pkexec so that polkit asks for
// the administrator password: this process itself never gains any rights.
//
// The command is run with one end of a Unix socket pair as its standard
// input and an environment of its own (pkexec closes every other
// descriptor and refuses environments it distrusts); after it has exited,
// exactly one descriptor of the served file, open read-only, must have
// arrived on the socket and the exit status must be 0. Anything else is a
// refusal, and every descriptor that did arrive is closed.
class HelperConfigFileOpener final : public ConfigFileOpener {
public:
    // Room for a person to read polkit's question and type the password.
    static constexpr std::chrono::milliseconds kDefaultAnswerLimit = std::chrono::minutes(2);

    // `command` is an argument vector whose first element is an absolute
    // path; `servedFile` is the one file its helper opens. Requests for any
    // other file are refused without starting the command. A command that
    // has not ended within `answerLimit` is ended and counts as a refusal.
    HelperConfigFileOpener(std::vector<std::string> command, std::filesystem::path servedFile,
                           std::chrono::milliseconds answerLimit = kDefaultAnswerLimit);

    UniqueFd open(const std::filesystem::path& configFile) override;

private:
    std::vector<std::string> m_command;
    std::filesystem::path m_servedFile;
    std::chrono::milliseconds m_answerLimit;
};

// Reads everything the peer left on `socket` without waiting and returns
// the one descriptor it sent when that is `expectedFile` itself (the same
// device and inode), open read-only; otherwise an invalid one, closing all
// that were received.
UniqueFd receiveConfigFile(int socket, const std::filesystem::path& expectedFile);

}  // namespace veltaro
