// SPDX-License-Identifier: MIT
// Giving up root for the user who started the program through sudo or
// pkexec, before the window toolkit and the mail opener run.
#include <grp.h>
#include <linux/capability.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "systemservices.h"

namespace veltaro {

namespace {

// Never a real id: setresuid and setresgid read it as "leave unchanged".
constexpr id_t kUnreadableId = static_cast<id_t>(-1);

// The id in the environment variable `name` as sudo and pkexec write it,
// decimal digits only; nothing when it is not set, kUnreadableId when it
// holds anything else, which is then said in one line on stderr.
std::optional<id_t> idVariable(const char* name)
{
    const char* text = std::getenv(name);
    if (text == nullptr)
        return std::nullopt;
    const std::string_view digits(text);
    id_t id = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
    const char* wrong = nullptr;
    if (digits.empty())
        wrong = "is empty";
    else if (digits.find_first_not_of("0123456789") != std::string_view::npos || end != digits.data() + digits.size())
        wrong = "holds other characters than decimal digits";
    else if (error != std::errc() || id == kUnreadableId)
        wrong = "is past the largest id";
    if (wrong == nullptr)
        return id;
    std::fprintf(stderr, "veltaro: %s \"%.40s\" %s: it must be the id of the user who started the program\n", name,
                 text, wrong);
    return kUnreadableId;
}

// Root's capabilities go with the change of all ids away from 0, unless
// securebits (which some container managers set) keep them: empty every
// set explicitly, which is always allowed, and check that it held.
bool dropCapabilities()
{
    if (::prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL, 0, 0, 0) != 0 && errno != EINVAL)
        return false;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct sets[_LINUX_CAPABILITY_U32S_3] = {};
    if (::syscall(SYS_capset, &header, sets) != 0 || ::syscall(SYS_capget, &header, sets) != 0)
        return false;
    for (const __user_cap_data_struct& set : sets) {
        if (set.effective != 0 || set.permitted != 0 || set.inheritable != 0)
            return false;
    }
    return true;
}

bool runsAs(uid_t uid, gid_t gid)
{
    uid_t realUid = 0;
    uid_t effectiveUid = 0;
    uid_t savedUid = 0;
    gid_t realGid = 0;
    gid_t effectiveGid = 0;
    gid_t savedGid = 0;
    return ::getresuid(&realUid, &effectiveUid, &savedUid) == 0 &&
           ::getresgid(&realGid, &effectiveGid, &savedGid) == 0 && realUid == uid && effectiveUid == uid &&
           savedUid == uid && realGid == gid && effectiveGid == gid && savedGid == gid;
}

}  // namespace

bool dropToInvokingUser()
{
    if (::geteuid() != 0)
        return true;
    // sudo names the user and their primary group; pkexec the user alone.
    std::optional<id_t> uid = idVariable("SUDO_UID");
    const bool bySudo = uid.has_value();
    if (!uid)
        uid = idVariable("PKEXEC_UID");
    // A root login, or root that started the program for root, keeps root.
    if (!uid || *uid == 0)
        return true;
    if (*uid == kUnreadableId)
        return false;
    std::optional<id_t> gid = bySudo ? idVariable("SUDO_GID") : std::nullopt;
    if (gid == kUnreadableId)
        return false;

    // cppcheck-suppress getpwuidCalled ; runs once, before any thread starts
    const passwd* account = ::getpwuid(*uid);
    if (!gid && account == nullptr) {
        std::fprintf(stderr, "veltaro: user id %u has no account, and no group was given\n", *uid);
        return false;
    }
    if (!gid)
        gid = account->pw_gid;
    std::optional<std::string> name;
    std::string home;
    if (account != nullptr) {
        name = account->pw_name;
        home = account->pw_dir;
    }

    // The groups first, while root may still change them: root's own
    // supplementary groups must not stay with the user.
    const bool grouped = name ? ::initgroups(name->c_str(), *gid) == 0 : ::setgroups(1, &*gid) == 0;
    if (!grouped || ::setresgid(*gid, *gid, *gid) != 0 || ::setresuid(*uid, *uid, *uid) != 0 || !dropCapabilities() ||
        !runsAs(*uid, *gid) || ::setuid(0) == 0) {
        std::fprintf(stderr, "veltaro: could not give up root for user id %u, group id %u\n", *uid, *gid);
        return false;
    }

    // What the toolkit and the mail opener read as the user's own places.
    if (name) {
        ::setenv("HOME", home.c_str(), 1);
        ::setenv("USER", name->c_str(), 1);
        ::setenv("LOGNAME", name->c_str(), 1);
    }
    return true;
}

}  // namespace veltaro
