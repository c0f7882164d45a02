// SPDX-License-Identifier: MIT
// ShellExecuteA with the texts as given: "Open" on a small program of the
// tests, which reports the folder it was started in. (The program's own
// "mailto: " request would start the desktop's mail program, which has
// no place in a test run.)

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "windowsshell.h"

namespace veltaro {
namespace {

namespace fs = std::filesystem;

fs::path programFolder()
{
    char file[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, file, MAX_PATH);
    return fs::path(file).parent_path();
}

class ScratchFolder {
public:
    ScratchFolder()
        : m_path(fs::temp_directory_path() / ("veltaro-shell-" + std::to_string(::GetCurrentProcessId())))
    {
        fs::create_directories(m_path);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

std::string waitForFile(const fs::path& file)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        std::ifstream in(file);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!text.empty())
            return text;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return {};
}

TEST(WindowsShellTest, OpensTheFileInTheGivenFolder)
{
    ScratchFolder folder;
    WindowsShell shell;
    const std::string probe = (programFolder() / "shellprobe.exe").string();

    ASSERT_TRUE(shell.execute(0, "Open", probe, "", folder.path().string(), 1));

    const std::string startedIn = waitForFile(folder.path() / "shellprobe.txt");
    ASSERT_FALSE(startedIn.empty()) << "the program did not run";
    EXPECT_TRUE(fs::equivalent(startedIn, folder.path())) << startedIn;
}

TEST(WindowsShellTest, AFileThatIsNotThereIsAFailure)
{
    ScratchFolder folder;
    WindowsShell shell;
    EXPECT_FALSE(shell.execute(0, "Open", (folder.path() / "missing.exe").string(), "", folder.path().string(), 1));
}

}  // namespace
}  // namespace veltaro
