// SPDX-License-Identifier: MIT
#pragma once

#include <clocale>
#include <string>

namespace veltaro::testing {

// Switches the C library's character encoding for one test and restores
// it afterwards; the conversions at the system calls follow it.
class LocaleGuard {
public:
    explicit LocaleGuard(const char* locale)
        : m_saved(std::setlocale(LC_CTYPE, nullptr))
        , m_active(std::setlocale(LC_CTYPE, locale) != nullptr)
    {
    }
    LocaleGuard(const LocaleGuard&) = delete;
    LocaleGuard& operator=(const LocaleGuard&) = delete;
    ~LocaleGuard() { std::setlocale(LC_CTYPE, m_saved.c_str()); }

    bool active() const { return m_active; }

private:
    std::string m_saved;
    bool m_active;
};

}  // namespace veltaro::testing
