#pragma once

#include <csignal>

#include <sys/resource.h>

namespace pictarium::test {

// A disk that fills after `bytes`: the system's cap on the size of the files
// this process writes, its signal ignored so that a write across the cap
// comes back short and the next one fails with EFBIG, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &mSaved);
        mSavedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = mSaved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &mSaved);
        std::signal(SIGXFSZ, mSavedHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit mSaved{};
    void (*mSavedHandler)(int) = nullptr;
};

}  // namespace pictarium::test
