// SPDX-License-Identifier: MIT
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "fixturetree.h"
#include "linuxshell.h"

namespace veltaro {
namespace {

using namespace std::chrono_literals;

// A stand-in for the desktop's URL opener: it writes its arguments and
// working folder to a file, after a pause that outlasts the call.
class OpenerStandIn {
public:
    OpenerStandIn()
    {
        m_script = m_folder.root() / "opener";
        m_report = m_folder.root() / "report";
        std::ofstream(m_script) << "#!/bin/sh\nsleep 0.3\n{ echo \"$#\"; echo \"$1\"; pwd; } > '" << m_report.string()
                                << ".tmp'\nmv '" << m_report.string() << ".tmp' '" << m_report.string() << "'\n";
        ::chmod(m_script.c_str(), 0700);
    }

    std::string path() const { return m_script.string(); }
    std::string folder() const { return m_folder.root().string(); }
    bool reported() const { return std::filesystem::exists(m_report); }

    // The report, once the opener has written it (waits up to 5 s).
    std::string waitForReport() const
    {
        for (std::chrono::milliseconds waited{}; waited < 5s && !reported(); waited += 20ms)
            std::this_thread::sleep_for(20ms);
        std::ifstream in(m_report);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    testing::FixtureTree m_folder;
    std::filesystem::path m_script;
    std::filesystem::path m_report;
};

TEST(LinuxShellTest, OpensTheTextWithTheOpenerInTheGivenFolderWithoutWaitingForIt)
{
    OpenerStandIn opener;
    LinuxShell shell(opener.path());

    EXPECT_TRUE(shell.execute(0, "Open", "mailto: someone@example.org", "", opener.folder(), 1));
    EXPECT_FALSE(opener.reported()) << "the call returned only after the opener had finished";

    EXPECT_EQ(opener.waitForReport(), "1\nmailto: someone@example.org\n" + opener.folder() + "\n");
}

TEST(LinuxShellTest, OnlyTheOpenOperationIsUnderstood)
{
    OpenerStandIn opener;
    LinuxShell shell(opener.path());

    EXPECT_FALSE(shell.execute(0, "print", "mailto: someone@example.org", "", opener.folder(), 1));
    EXPECT_FALSE(shell.execute(0, "", "mailto: someone@example.org", "", opener.folder(), 1));
    std::this_thread::sleep_for(500ms);
    EXPECT_FALSE(opener.reported());
}

// The opener never runs in another folder than the one asked for; a
// missing opener or folder ends quietly in the detached child.
TEST(LinuxShellTest, MissingOpenerOrFolderFailsQuietly)
{
    OpenerStandIn opener;
    LinuxShell("veltaro-no-such-opener").execute(0, "Open", "mailto: x", "", opener.folder(), 1);
    LinuxShell(opener.path()).execute(0, "Open", "mailto: x", "", opener.folder() + "/gone", 1);
    std::this_thread::sleep_for(500ms);
    EXPECT_FALSE(opener.reported());
}

}  // namespace
}  // namespace veltaro
