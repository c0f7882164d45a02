// SPDX-License-Identifier: MIT
// The configuration ports' mutex against other holders: threads of this
// process and another program, each of which Windows tells apart as owners.

#include <gtest/gtest.h>

#include <windows.h>

#include <aclapi.h>

#include <chrono>
#include <memory>
#include <thread>

#include "mutexholderprocess.h"
#include "programfolder.h"
#include "windowsconfigspacelock.h"

namespace veltaro {
namespace {

using Clock = std::chrono::steady_clock;
using testing::HoldSignals;

constexpr wchar_t kMutexName[] = L"Global\\Access_PCI";

// Another holder, holding the mutex once holding() says so, until letGo().
class OtherHolder {
public:
    virtual ~OtherHolder() = default;
    virtual bool holding() = 0;
    virtual bool letGo() = 0;
};

// A thread of this process, taking the mutex by its own means.
class HoldingThread final : public OtherHolder {
public:
    using Hold = void (*)(const HoldSignals&);

    explicit HoldingThread(Hold hold)
        : m_thread(hold, std::cref(m_signals))
    {
    }
    ~HoldingThread() override { letGo(); }

    bool holding() override { return m_signals.waitHeld(); }
    bool letGo() override
    {
        ::SetEvent(m_signals.release());
        if (m_thread.joinable())
            m_thread.join();
        return true;
    }

private:
    HoldSignals m_signals;
    std::thread m_thread;
};

class HoldingProcess final : public OtherHolder {
public:
    HoldingProcess()
        : m_process(std::filesystem::path(programFolder()) / "mutexholder.exe")
    {
    }
    bool holding() override { return m_process.holding(); }
    bool letGo() override { return m_process.letGo() == std::optional<DWORD>(0); }

private:
    testing::MutexHolderProcess m_process;
};

// Makes the mutex itself, owned from the start, as a program that knows
// nothing of this one would; it holds nothing if the mutex already existed.
void holdHavingMadeIt(const HoldSignals& signals)
{
    HANDLE mutex = ::CreateMutexW(nullptr, TRUE, kMutexName);
    const bool madeIt = mutex != nullptr && ::GetLastError() != ERROR_ALREADY_EXISTS;
    if (madeIt)
        ::SetEvent(signals.held());
    ::WaitForSingleObject(signals.release(), 20000);
    if (madeIt)
        ::ReleaseMutex(mutex);
    if (mutex != nullptr)
        ::CloseHandle(mutex);
}

// Through a lock of its own, as a second copy of this program would.
void holdThroughALock(const HoldSignals& signals)
{
    WindowsConfigSpaceLock lock;
    if (lock.acquire()) {
        ::SetEvent(signals.held());
        ::WaitForSingleObject(signals.release(), 20000);
        lock.release();
    }
}

struct HolderCase {
    const char* name;
    // The lock under test has made the mutex before the other holder
    // comes; otherwise the other holder makes it.
    bool oursFirst;
    std::unique_ptr<OtherHolder> (*start)();
};

void PrintTo(const HolderCase& row, std::ostream* out)
{
    *out << row.name;
}

class HeldElsewhereTest : public ::testing::TestWithParam<HolderCase> {};

TEST_P(HeldElsewhereTest, IsRefusedWithinItsShortWaitAndHadOnceLetGo)
{
    WindowsConfigSpaceLock lock;
    if (GetParam().oursFirst) {
        ASSERT_TRUE(lock.acquire());
        lock.release();
    }
    const std::unique_ptr<OtherHolder> other = GetParam().start();
    ASSERT_TRUE(other->holding()) << "the other holder never had the mutex";

    const auto began = Clock::now();
    EXPECT_FALSE(lock.acquire()) << "had while another holds it: not the same mutex";
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - began);
    EXPECT_LT(waited.count(), 1000) << "a tick would wait that long";

    ASSERT_TRUE(other->letGo());
    EXPECT_TRUE(lock.acquire());
    lock.release();
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Holders, HeldElsewhereTest,
    ::testing::Values(
        HolderCase{"thread_that_made_it_without_a_descriptor", false,
                   []() -> std::unique_ptr<OtherHolder> { return std::make_unique<HoldingThread>(holdHavingMadeIt); }},
        HolderCase{"thread_through_a_lock_of_its_own", false,
                   []() -> std::unique_ptr<OtherHolder> { return std::make_unique<HoldingThread>(holdThroughALock); }},
        HolderCase{"process_that_opened_ours_with_every_right", true,
                   []() -> std::unique_ptr<OtherHolder> { return std::make_unique<HoldingProcess>(); }}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Whoever makes the mutex, every user may wait for it, release it and
// read who may; if everyone could also rewrite its access list or take
// it over, one standard user could shut every other monitor out.
TEST(WindowsConfigSpaceLockTest, LetsEveryoneUseTheMutexButNotRewriteWhoMay)
{
    WindowsConfigSpaceLock lock;
    ASSERT_TRUE(lock.acquire());
    lock.release();
    HANDLE mutex = ::OpenMutexW(READ_CONTROL, FALSE, kMutexName);
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(::GetSecurityInfo(mutex, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl, nullptr,
                                &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    ::CloseHandle(mutex);
    ASSERT_NE(acl, nullptr) << "no access list: anyone may do anything";
    int everyone = 0;
    for (DWORD index = 0; index < acl->AceCount; ++index) {
        ACCESS_ALLOWED_ACE* entry = nullptr;
        if (::GetAce(acl, index, reinterpret_cast<void**>(&entry)) && ::IsWellKnownSid(&entry->SidStart, WinWorldSid)) {
            ++everyone;
            EXPECT_EQ(entry->Mask, static_cast<DWORD>(SYNCHRONIZE | MUTEX_MODIFY_STATE | READ_CONTROL))
                << std::hex << entry->Mask;
        }
    }
    ::LocalFree(descriptor);
    EXPECT_EQ(everyone, 1);
}

TEST(WindowsConfigSpaceLockTest, TakesOverAMutexWhoseHolderEndedHoldingIt)
{
    WindowsConfigSpaceLock lock;
    ASSERT_TRUE(lock.acquire());
    lock.release();
    bool otherHeld = false;
    std::thread([&] {
        HANDLE mutex = ::OpenMutexW(SYNCHRONIZE, FALSE, kMutexName);
        otherHeld = mutex != nullptr && ::WaitForSingleObject(mutex, 1000) == WAIT_OBJECT_0;
        // The thread ends without releasing it.
        if (mutex != nullptr)
            ::CloseHandle(mutex);
    }).join();
    ASSERT_TRUE(otherHeld);

    EXPECT_TRUE(lock.acquire()) << "an abandoned mutex blocks the ports for good";
    lock.release();
    HoldingThread next(holdThroughALock);
    EXPECT_TRUE(next.holding()) << "not released after the takeover";
}

}  // namespace
}  // namespace veltaro
