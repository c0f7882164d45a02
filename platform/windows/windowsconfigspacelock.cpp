// SPDX-License-Identifier: MIT
#include "windowsconfigspacelock.h"

#include <sddl.h>

namespace veltaro {

namespace {

constexpr wchar_t kMutexName[] = L"Global\\Access_PCI";
// Everyone may wait for it, release it and read its access list;
// administrators and the system have every right. Rewriting the list or
// taking ownership is kept from standard users: one of them could
// otherwise shut every other program out of the ports. Other hardware
// monitors open it with CreateMutex and no descriptor, which asks for
// every right; as standard users they are refused and open it again for
// SYNCHRONIZE, which is all a wait and a release need.
constexpr wchar_t kEveryoneMayUseIt[] = L"D:(A;;0x00120001;;;WD)(A;;GA;;;BA)(A;;GA;;;SY)";
static_assert((SYNCHRONIZE | READ_CONTROL | MUTEX_MODIFY_STATE) == 0x00120001);
// All this program asks of it, whoever made it: to wait for it and release
// it. So a mutex that another user's program made with narrower rights
// still opens.
constexpr DWORD kRightsUsed = SYNCHRONIZE | MUTEX_MODIFY_STATE;

HANDLE createOrOpen()
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const bool described = ::ConvertStringSecurityDescriptorToSecurityDescriptorW(kEveryoneMayUseIt, SDDL_REVISION_1,
                                                                                  &descriptor, nullptr) != FALSE;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    // Opens the mutex where it exists (the descriptor then counts for
    // nothing), else makes it.
    HANDLE mutex = ::CreateMutexExW(described ? &attributes : nullptr, kMutexName, 0, kRightsUsed);
    if (described)
        ::LocalFree(descriptor);
    return mutex;
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
    // mutex is now ours. Whatever it left half done at the ports, our
    // sequence starts with an address write of its own.
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

void WindowsConfigSpaceLock::release()
{
    if (m_mutex != nullptr)
        ::ReleaseMutex(m_mutex);
}

}  // namespace veltaro
