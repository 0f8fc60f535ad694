// A full disk for tests of failed saves: it stops root too, which read-only folders do not.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace platform::files::testing {

// While it lives, no file this process writes can grow: writes fail as on a full disk.
class FullDisk {
  public:
    FullDisk() {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        old_signal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old_;
        small.rlim_cur = 0;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FullDisk() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, old_signal_);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

  private:
    rlimit old_{};
    void (*old_signal_)(int) = SIG_DFL;
};

}  // namespace platform::files::testing
