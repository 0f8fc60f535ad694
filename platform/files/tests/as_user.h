// Runs a piece of a test as the unprivileged user "nobody", for files this process may not
// write: root may write them all, whatever their mode.
#pragma once

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace platform::files::testing {

// Why `as_nobody` cannot run here, or null when it can.
inline const char* as_nobody_unavailable() {
    if (::geteuid() != 0) return "changing to another user needs root";
    if (!::getpwnam("nobody")) return "there is no user \"nobody\"";
    return nullptr;
}

// Makes this (forked) process "nobody" for good; false when it could not.
inline bool become_nobody() {
    const passwd* pw = ::getpwnam("nobody");
    return pw && ::setgroups(0, nullptr) == 0 && ::setgid(pw->pw_gid) == 0 &&
           ::setuid(pw->pw_uid) == 0;
}

// `body`'s result from a forked child that became "nobody", or -1.
inline int as_nobody(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(become_nobody() ? body() : 125);
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

}  // namespace platform::files::testing
