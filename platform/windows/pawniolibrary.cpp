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

std::optional<std::wstring> readRegistryText(const wchar_t* subKey, const wchar_t* value)
{
    DWORD flags = RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY;
    DWORD bytes = 0;
    LSTATUS status = ::RegGetValueW(HKEY_LOCAL_MACHINE, subKey, value, flags, nullptr, nullptr, &bytes);
    // Windows before 10 does not know the flag; a 64-bit program sees the
    // 64-bit view without it.
    if (status == ERROR_INVALID_PARAMETER) {
        flags &= ~static_cast<DWORD>(RRF_SUBKEY_WOW6464KEY);
        status = ::RegGetValueW(HKEY_LOCAL_MACHINE, subKey, value, flags, nullptr, nullptr, &bytes);
    }
    if (status != ERROR_SUCCESS || bytes < sizeof(wchar_t))
        return std::nullopt;
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, subKey, value, flags, nullptr, text.data(), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    text.resize(::wcsnlen(text.c_str(), text.size()));
    return text;
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
    std::vector<std::wstring> folders;
    for (const auto& [subKey, value] :
         {std::pair{kPawnIoKey, L"Install_Dir"}, std::pair{kUninstallKey, L"InstallLocation"}}) {
        const std::optional<std::wstring> text = readRegistryText(subKey, value);
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
