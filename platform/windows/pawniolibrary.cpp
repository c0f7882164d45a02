// SPDX-License-Identifier: MIT
#include "pawniolibrary.h"

#include <utility>

#include "programfolder.h"

namespace veltaro {

namespace {

constexpr wchar_t kLibraryName[] = L"PawnIOLib.dll";
constexpr wchar_t kPawnIoKey[] = L"SOFTWARE\\PawnIO";
constexpr wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PawnIO";
// Modules are a few dozen kilobytes; anything near this is no module.
constexpr std::uintmax_t kLargestModuleBytes = 4u << 20;

// A text value of HKLM\<subKey> in the registry view `view`
// (KEY_WOW64_64KEY or KEY_WOW64_32KEY), REG_SZ or REG_EXPAND_SZ, the
// latter expanded.
std::optional<std::wstring> readRegistryText(const wchar_t* subKey, const wchar_t* value, REGSAM view)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return std::nullopt;
    // Unexpanded, so that the size asked for is the size read.
    const DWORD flags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    DWORD type = 0;
    DWORD bytes = 0;
    std::wstring text;
    LSTATUS status = ::RegGetValueW(key, nullptr, value, flags, &type, nullptr, &bytes);
    if (status == ERROR_SUCCESS && bytes >= sizeof(wchar_t)) {
        text.assign(bytes / sizeof(wchar_t), L'\0');
        status = ::RegGetValueW(key, nullptr, value, flags, &type, text.data(), &bytes);
    }
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS || text.empty())
        return std::nullopt;
    text.resize(::wcsnlen(text.c_str(), text.size()));
    if (type != REG_EXPAND_SZ)
        return text;
    const DWORD needed = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    std::wstring expanded(needed, L'\0');
    if (needed == 0 || ::ExpandEnvironmentStringsW(text.c_str(), expanded.data(), needed) != needed)
        return std::nullopt;
    expanded.resize(needed - 1);
    return expanded;
}

// "C:\..." or "\\server\...": a folder that names itself wholly.
bool isFullPath(const std::wstring& folder)
{
    const bool drive = folder.size() >= 3 &&
                       ((folder[0] >= L'A' && folder[0] <= L'Z') || (folder[0] >= L'a' && folder[0] <= L'z')) &&
                       folder[1] == L':' && folder[2] == L'\\';
    return drive || folder.rfind(L"\\\\", 0) == 0;
}

// Uninstall entries often quote their folder; some end it in a backslash.
std::wstring plainFolder(std::wstring folder)
{
    if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"')
        folder = folder.substr(1, folder.size() - 2);
    while (folder.size() > 3 && folder.back() == L'\\')
        folder.pop_back();
    return folder;
}

HMODULE loadFromInstallFolder()
{
    for (const std::wstring& folder : pawnIoInstallFolders()) {
        const std::wstring path = folder + L"\\" + kLibraryName;
        // What the library itself needs comes from its own folder and the
        // system's.
        HMODULE library =
            ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (library == nullptr && ::GetLastError() == ERROR_INVALID_PARAMETER)
            library = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (library != nullptr)
            return library;
    }
    return nullptr;
}

template <typename Function> Function entryPoint(HMODULE library, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

}  // namespace

std::vector<std::wstring> pawnIoInstallFolders()
{
    struct Place {
        const wchar_t* subKey;
        const wchar_t* value;
        REGSAM view;
    };
    // Today's installers record the uninstall entry's InstallLocation;
    // the first, a 32-bit installer, wrote Install_Dir in the 32-bit view.
    const Place places[] = {{kUninstallKey, L"InstallLocation", KEY_WOW64_64KEY},
                            {kPawnIoKey, L"Install_Dir", KEY_WOW64_64KEY},
                            {kPawnIoKey, L"Install_Dir", KEY_WOW64_32KEY}};
    std::vector<std::wstring> folders;
    for (const Place& place : places) {
        const std::optional<std::wstring> text = readRegistryText(place.subKey, place.value, place.view);
        if (!text)
            continue;
        std::wstring folder = plainFolder(*text);
        if (isFullPath(folder))
            folders.push_back(std::move(folder));
    }
    return folders;
}

PawnIoLibrary::~PawnIoLibrary()
{
    if (m_executor != nullptr)
        m_close(m_executor);
    if (m_library != nullptr)
        ::FreeLibrary(m_library);
}

bool PawnIoLibrary::load(std::span<const std::uint8_t> module)
{
    // One module per executor.
    if (m_library != nullptr)
        return false;
    HMODULE library = loadFromInstallFolder();
    if (library == nullptr)
        return false;
    const auto open = entryPoint<OpenFn>(library, "pawnio_open");
    const auto loadBlob = entryPoint<LoadFn>(library, "pawnio_load");
    const auto execute = entryPoint<ExecuteFn>(library, "pawnio_execute");
    const auto close = entryPoint<CloseFn>(library, "pawnio_close");
    HANDLE executor = nullptr;
    // The executor is the driver's device, which admits administrators
    // and the system only.
    if (open == nullptr || loadBlob == nullptr || execute == nullptr || close == nullptr || FAILED(open(&executor)) ||
        executor == nullptr) {
        ::FreeLibrary(library);
        return false;
    }
    if (FAILED(loadBlob(executor, module.data(), module.size()))) {
        close(executor);
        ::FreeLibrary(library);
        return false;
    }
    m_library = library;
    m_executor = executor;
    m_execute = execute;
    m_close = close;
    return true;
}

bool PawnIoLibrary::execute(const char* function, std::span<const std::uint64_t> in, std::span<std::uint64_t> out)
{
    if (m_executor == nullptr)
        return false;
    SIZE_T returned = 0;
    const HRESULT result = m_execute(m_executor, function, in.data(), in.size(), out.data(), out.size(), &returned);
    return SUCCEEDED(result) && returned >= out.size();
}

std::optional<std::vector<std::uint8_t>> readFileBesideProgram(const std::wstring& fileName)
{
    // The system's own file calls, as elsewhere in the Windows face: the
    // C++ streams would bring their whole library into the program.
    const std::wstring folder = programFolder();
    if (folder.empty())
        return std::nullopt;
    const std::wstring path = folder + L"\\" + fileName;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::optional<std::vector<std::uint8_t>> contents;
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file, &size) && size.QuadPart >= 0 &&
        static_cast<unsigned long long>(size.QuadPart) <= kLargestModuleBytes) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        if (bytes.empty() ||
            (::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size()))
            contents = std::move(bytes);
    }
    ::CloseHandle(file);
    return contents;
}

}  // namespace veltaro
