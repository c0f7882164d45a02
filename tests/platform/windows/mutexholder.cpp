// SPDX-License-Identifier: MIT
// Another hardware monitor, as far as the configuration ports' mutex goes:
//   mutexholder <held event> <release event>
// opens "Global\Access_PCI" the way such programs do (CreateMutex with no
// descriptor, which asks for every right), takes it, sets the first event,
// and holds it until the second is set, 20 s at most. Exit code 0 once it
// has let go; 2 when it could not have the mutex or an event.

#include <windows.h>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    HANDLE held = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1]);
    HANDLE release = ::OpenEventA(SYNCHRONIZE, FALSE, argv[2]);
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, L"Global\\Access_PCI");
    if (held == nullptr || release == nullptr || mutex == nullptr)
        return 2;
    const DWORD taken = ::WaitForSingleObject(mutex, 5000);
    if (taken != WAIT_OBJECT_0 && taken != WAIT_ABANDONED)
        return 2;
    ::SetEvent(held);
    ::WaitForSingleObject(release, 20000);
    ::ReleaseMutex(mutex);
    return 0;
}
