// SPDX-License-Identifier: MIT
#include "windowsconfigspacelock.h"

#include <sddl.h>

namespace veltaro {

namespace {

constexpr wchar_t kMutexName[] = L"Global\\Access_PCI";
// Everyone may wait for it (SYNCHRONIZE) and release it (MUTANT_QUERY_STATE
// and MUTEX_MODIFY_STATE), nothing more: nobody but its maker may change
// who has access.
constexpr wchar_t kEveryoneMayWaitAndRelease[] = L"D:(A;;0x00100001;;;WD)";

HANDLE createOrOpen()
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::ConvertStringSecurityDescriptorToSecurityDescriptorW(kEveryoneMayWaitAndRelease, SDDL_REVISION_1, &descriptor,
                                                               nullptr)) {
        SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
        HANDLE mutex = ::CreateMutexW(&attributes, FALSE, kMutexName);
        ::LocalFree(descriptor);
        if (mutex != nullptr)
            return mutex;
    }
    // Made by another user's program with rights that do not let us create
    // it again, or a system that refused the descriptor: open what is there.
    return ::OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kMutexName);
}

}  // namespace

WindowsConfigSpaceLock::~WindowsConfigSpaceLock()
{
    if (m_mutex != nullptr)
        ::CloseHandle(m_mutex);
}

HANDLE WindowsConfigSpaceLock::mutex()
{
    if (m_mutex == nullptr)
        m_mutex = createOrOpen();
    return m_mutex;
}

bool WindowsConfigSpaceLock::acquire()
{
    HANDLE handle = mutex();
    if (handle == nullptr)
        return false;
    const DWORD result = ::WaitForSingleObject(handle, kWaitMs);
    // WAIT_ABANDONED: its last owner ended without releasing it; the
    // mutex is now ours, and the ports are in no half-done state of ours.
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

void WindowsConfigSpaceLock::release()
{
    if (m_mutex != nullptr)
        ::ReleaseMutex(m_mutex);
}

}  // namespace veltaro
