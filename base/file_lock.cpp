#include "base/file_lock.h"

#include "base/run_errors.h"

#include <QFile>

#include <cerrno>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pictarium {

namespace {

constexpr std::chrono::milliseconds PollInterval{20};

enum class Attempt { Locked, Busy, Unsupported };

Attempt tryLock(int descriptor) {
    while (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) {
            continue;
        }
        // Some network file systems have no locks at all: better to work
        // unlocked there than not at all.
        return errno == EWOULDBLOCK ? Attempt::Busy : Attempt::Unsupported;
    }
    return Attempt::Locked;
}

bool sameFile(int descriptor, const QString& path) {
    struct stat mine {};
    struct stat named {};
    return ::fstat(descriptor, &mine) == 0 &&
           ::stat(QFile::encodeName(path).constData(), &named) == 0 &&
           mine.st_dev == named.st_dev && mine.st_ino == named.st_ino;
}

int openOrThrow(const QString& path, int flags) {
    const int descriptor = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        throw RunFailure(runErrorFromErrno(errno, path), path);
    }
    return descriptor;
}

// Polls for the lock until it is taken or `patience` has run out; the
// descriptor is closed when it is not taken.
bool awaitLock(int descriptor, std::chrono::milliseconds patience,
               const FileLock::WhileWaiting& whileWaiting) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        const Attempt attempt = tryLock(descriptor);
        if (attempt != Attempt::Busy) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(descriptor);
            return false;
        }
        if (whileWaiting) {
            try {
                whileWaiting();
            } catch (...) {
                ::close(descriptor);
                throw;
            }
        }
        std::this_thread::sleep_for(PollInterval);
    }
}

}  // namespace

FileLock::~FileLock() {
    release();
}

FileLock::FileLock(FileLock&& other) noexcept
    : mDescriptor(std::exchange(other.mDescriptor, -1)), mPath(std::move(other.mPath)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        release();
        mDescriptor = std::exchange(other.mDescriptor, -1);
        mPath = std::move(other.mPath);
    }
    return *this;
}

void FileLock::release() noexcept {
    if (mDescriptor >= 0) {
        ::close(mDescriptor);  // closing lets the lock go
        mDescriptor = -1;
    }
}

std::optional<FileLock> FileLock::lockFile(const QString& path, std::chrono::milliseconds patience,
                                           const WhileWaiting& whileWaiting) {
    int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0 && errno == EACCES) {
        // Another user's lock file locks as well for reading; only its note
        // cannot be written then.
        descriptor = openOrThrow(path, O_RDONLY);
    } else if (descriptor < 0) {
        throw RunFailure(runErrorFromErrno(errno, path), path);
    }
    if (!awaitLock(descriptor, patience, whileWaiting)) {
        return std::nullopt;
    }
    return FileLock(descriptor, path);
}

std::optional<FileLock> FileLock::lockFileAt(const QString& path,
                                             std::chrono::milliseconds patience,
                                             const WhileWaiting& whileWaiting) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        const int descriptor = openOrThrow(path, O_RDONLY);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (!awaitLock(descriptor, std::max(left, std::chrono::milliseconds::zero()),
                       whileWaiting)) {
            return std::nullopt;
        }
        FileLock lock(descriptor, path);
        if (sameFile(descriptor, path)) {
            return lock;
        }
        // The holder replaced the file: the lock held is that of the old one.
    }
}

bool FileLock::holdsFileAt(const QString& path) const {
    return isHeld() && sameFile(mDescriptor, path);
}

QByteArray FileLock::contents(qsizetype limit) const {
    QByteArray bytes(limit, Qt::Uninitialized);
    ssize_t got = 0;
    do {
        got = ::pread(mDescriptor, bytes.data(), static_cast<std::size_t>(limit), 0);
    } while (got < 0 && errno == EINTR);
    bytes.resize(got > 0 ? got : 0);
    return bytes;
}

void FileLock::replaceContents(const QByteArray& bytes) {
    const auto size = static_cast<std::size_t>(bytes.size());
    if (::ftruncate(mDescriptor, 0) != 0 ||
        ::pwrite(mDescriptor, bytes.constData(), size, 0) != static_cast<ssize_t>(size) ||
        ::fsync(mDescriptor) != 0) {
        throw RunFailure(runErrorFromErrno(errno, mPath), mPath);
    }
}

}  // namespace pictarium
