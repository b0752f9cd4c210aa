// Ways to make a file or folder refuse access that hold even for root, who ignores mode bits.
#pragma once

#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>

namespace kelo::test {

// Drops, for the life of the object, the capabilities that let root read and write past the
// mode bits; a folder chmod'ed 0555 is then read-only for root too. Does nothing for a user who
// has no such capability.
class ModeBitsEnforced {
  public:
    ModeBitsEnforced() {
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        header_.pid = 0;
        if (syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[0].effective &= ~((1U << CAP_DAC_OVERRIDE) | (1U << CAP_DAC_READ_SEARCH));
        active_ = syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~ModeBitsEnforced() {
        if (active_)
            syscall(SYS_capset, &header_, saved_);
    }
    ModeBitsEnforced(const ModeBitsEnforced&) = delete;
    ModeBitsEnforced& operator=(const ModeBitsEnforced&) = delete;

  private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool active_ = false;
};

// For the life of the object no write may make a file longer than `bytes`: the write fails with
// EFBIG, whoever runs it, as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);  // otherwise the signal ends the test
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

}  // namespace kelo::test
