// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace veltaro::testing {

// A pair of events by which a test tells another holder of the
// configuration ports' mutex when it holds it and when to let it go.
class HoldSignals {
public:
    HoldSignals()
    {
        static int made = 0;
        const std::string stem =
            "Local\\veltaro-mutex-holder-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++made);
        m_heldName = stem + "-held";
        m_releaseName = stem + "-release";
        m_held = ::CreateEventA(nullptr, TRUE, FALSE, m_heldName.c_str());
        m_release = ::CreateEventA(nullptr, TRUE, FALSE, m_releaseName.c_str());
    }
    ~HoldSignals()
    {
        ::CloseHandle(m_held);
        ::CloseHandle(m_release);
    }
    HoldSignals(const HoldSignals&) = delete;
    HoldSignals& operator=(const HoldSignals&) = delete;

    HANDLE held() const { return m_held; }
    HANDLE release() const { return m_release; }
    const std::string& heldName() const { return m_heldName; }
    const std::string& releaseName() const { return m_releaseName; }

    bool waitHeld(std::chrono::milliseconds limit = std::chrono::seconds(10)) const
    {
        return ::WaitForSingleObject(m_held, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
    }

private:
    std::string m_heldName;
    std::string m_releaseName;
    HANDLE m_held = nullptr;
    HANDLE m_release = nullptr;
};

// mutexholder.exe, started at construction; it lets go when told to, or
// when it goes.
class MutexHolderProcess {
public:
    explicit MutexHolderProcess(const std::filesystem::path& program)
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        const std::string arguments = " " + m_signals.heldName() + " " + m_signals.releaseName();
        std::wstring commandLine = L"\"" + program.wstring() + L"\"" + std::wstring(arguments.begin(), arguments.end());
        if (::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &m_process))
            ::CloseHandle(m_process.hThread);
    }
    ~MutexHolderProcess()
    {
        if (m_process.hProcess == nullptr)
            return;
        letGo();
        ::CloseHandle(m_process.hProcess);
    }
    MutexHolderProcess(const MutexHolderProcess&) = delete;
    MutexHolderProcess& operator=(const MutexHolderProcess&) = delete;

    bool holding() const { return m_process.hProcess != nullptr && m_signals.waitHeld(); }

    // Its exit code once it has let go and ended; none after 10 s.
    std::optional<DWORD> letGo()
    {
        ::SetEvent(m_signals.release());
        if (::WaitForSingleObject(m_process.hProcess, 10000) != WAIT_OBJECT_0)
            return std::nullopt;
        DWORD code = 0;
        ::GetExitCodeProcess(m_process.hProcess, &code);
        return code;
    }

private:
    HoldSignals m_signals;
    PROCESS_INFORMATION m_process{};
};

}  // namespace veltaro::testing
