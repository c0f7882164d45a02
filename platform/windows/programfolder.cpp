// SPDX-License-Identifier: MIT
#include "programfolder.h"

#include <windows.h>

namespace veltaro {

std::wstring programFolder()
{
    // The call cuts a path that does not fit; paths run to 32767 characters.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() > 32768)
            return {};
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L'\\'));
}

}  // namespace veltaro
