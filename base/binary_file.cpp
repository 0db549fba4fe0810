#include "base/binary_file.h"

#include "base/run_errors.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pictarium {

namespace {

// Copies through user memory never hold more than this at once.
constexpr std::size_t kCopyBufferSize = 65000;
// One kernel copy call moves at most this much, so progress is regular.
constexpr std::int64_t kKernelCopyChunk = std::int64_t{8} << 20;

[[noreturn]] void throwErrno(const QString& path) {
    throw RunFailure(runErrorFromErrno(errno, path));
}

// For a file that cannot be opened or created, the box names it.
[[noreturn]] void throwErrnoNaming(const QString& path) {
    throw RunFailure(runErrorFromErrno(errno, path), path);
}

FileStatus statusFrom(const struct stat& status) {
    FileStatus result;
    result.device = status.st_dev;
    result.inode = status.st_ino;
    result.size = status.st_size;
    result.modifiedNanoseconds =
        std::int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec;
    result.mode = status.st_mode & 0777;
    result.owner = status.st_uid;
    result.group = status.st_gid;
    result.links = status.st_nlink;
    return result;
}

// Gives the file the owner, group and rights of `model` as far as this
// program may; a group it cannot give loses its rights instead.
void makeLike(int descriptor, const FileStatus& model) {
    mode_t mode = model.mode;
    if (::fchown(descriptor, model.owner, model.group) != 0 &&
        ::fchown(descriptor, static_cast<uid_t>(-1), model.group) != 0) {
        mode &= ~mode_t{070};
    }
    ::fchmod(descriptor, mode);
}

bool kernelCopyUnsupported(int errnoValue) {
    return errnoValue == EXDEV || errnoValue == ENOSYS || errnoValue == EINVAL ||
           errnoValue == EOPNOTSUPP || errnoValue == EBADF;
}

}  // namespace

BinaryFile::BinaryFile(int descriptor, QString path)
    : mDescriptor(descriptor), mPath(std::move(path)) {}

BinaryFile::~BinaryFile() {
    close();
}

BinaryFile::BinaryFile(BinaryFile&& other) noexcept
    : mDescriptor(std::exchange(other.mDescriptor, -1)),
      mPath(std::move(other.mPath)),
      mWritePosition(std::exchange(other.mWritePosition, 0)),
      mOpenedSize(std::exchange(other.mOpenedSize, 0)) {}

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept {
    if (this != &other) {
        close();
        mDescriptor = std::exchange(other.mDescriptor, -1);
        mPath = std::move(other.mPath);
        mWritePosition = std::exchange(other.mWritePosition, 0);
        mOpenedSize = std::exchange(other.mOpenedSize, 0);
    }
    return *this;
}

std::optional<FileStatus> statusOf(const QString& path) {
    struct stat status {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0) {
        return std::nullopt;
    }
    return statusFrom(status);
}

BinaryFile BinaryFile::openForReading(const QString& path) {
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        throwErrnoNaming(path);
    }
    BinaryFile file(descriptor, path);
    file.mOpenedSize = file.size();
    return file;
}

BinaryFile BinaryFile::create(const QString& path) {
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        throwErrnoNaming(path);
    }
    return BinaryFile(descriptor, path);
}

BinaryFile BinaryFile::createLike(const QString& path, const FileStatus& model) {
    // Never wider than the model, even for the moment before the rights
    // are set: the umask can only take rights away.
    const int descriptor = ::open(QFile::encodeName(path).constData(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, model.mode & 0600);
    if (descriptor < 0) {
        throwErrnoNaming(path);
    }
    makeLike(descriptor, model);
    return BinaryFile(descriptor, path);
}

BinaryFile BinaryFile::openForOverwriting(const QString& path) {
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
    if (descriptor < 0) {
        throwErrnoNaming(path);
    }
    return BinaryFile(descriptor, path);
}

void BinaryFile::close() noexcept {
    if (mDescriptor >= 0) {
        ::close(mDescriptor);
        mDescriptor = -1;
    }
    mWritePosition = 0;
    mOpenedSize = 0;
}

std::int64_t BinaryFile::size() const {
    struct stat status {};
    if (!isOpen()) {
        throw RunFailure(RunError::BadFileName);
    }
    if (::fstat(mDescriptor, &status) != 0) {
        throwErrno(mPath);
    }
    return status.st_size;
}

FileStatus BinaryFile::status() const {
    struct stat status {};
    if (!isOpen()) {
        throw RunFailure(RunError::BadFileName);
    }
    if (::fstat(mDescriptor, &status) != 0) {
        throwErrno(mPath);
    }
    return statusFrom(status);
}

std::size_t BinaryFile::readAt(std::int64_t offset, char* destination, std::size_t count) const {
    if (!isOpen()) {
        throw RunFailure(RunError::BadFileName);
    }
    if (offset < 0) {
        throw RunFailure(RunError::BadRecordNumber);
    }
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(mDescriptor, destination + done, count - done,
                                    static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throwErrno(mPath);
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void BinaryFile::readExactAt(std::int64_t offset, char* destination, std::size_t count) const {
    if (readAt(offset, destination, count) != count) {
        throw RunFailure(RunError::InputPastEndOfFile);
    }
}

void BinaryFile::write(const char* data, std::size_t count) {
    if (!isOpen()) {
        throw RunFailure(RunError::BadFileName);
    }
    std::size_t done = 0;
    while (done < count) {
        const ssize_t put =
            ::pwrite(mDescriptor, data + done, count - done, static_cast<off_t>(mWritePosition));
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            throwErrno(mPath);
        }
        done += static_cast<std::size_t>(put);
        mWritePosition += put;
    }
}

void BinaryFile::appendFrom(const BinaryFile& source, std::int64_t offset, std::int64_t length,
                            const CopyProgress& progress) {
    if (!isOpen() || !source.isOpen()) {
        throw RunFailure(RunError::BadFileName);
    }
    if (offset < 0 || length < 0) {
        throw RunFailure(RunError::BadRecordNumber);
    }
    while (length > 0) {
        off_t in = static_cast<off_t>(offset);
        off_t out = static_cast<off_t>(mWritePosition);
        const auto chunk = static_cast<std::size_t>(std::min(length, kKernelCopyChunk));
        const ssize_t copied =
            ::copy_file_range(source.mDescriptor, &in, mDescriptor, &out, chunk, 0);
        if (copied < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (kernelCopyUnsupported(errno)) {
                appendThroughBuffer(source, offset, length, progress);
                return;
            }
            throwErrno(mPath);
        }
        if (copied == 0) {
            throw RunFailure(RunError::InputPastEndOfFile);
        }
        offset += copied;
        mWritePosition += copied;
        length -= copied;
        if (progress) {
            progress(copied);
        }
    }
}

void BinaryFile::appendThroughBuffer(const BinaryFile& source, std::int64_t offset,
                                     std::int64_t length, const CopyProgress& progress) {
    std::vector<char> buffer(static_cast<std::size_t>(
        std::min<std::int64_t>(length, static_cast<std::int64_t>(kCopyBufferSize))));
    while (length > 0) {
        const auto block =
            static_cast<std::size_t>(std::min<std::int64_t>(length, std::ssize(buffer)));
        source.readExactAt(offset, buffer.data(), block);
        write(buffer.data(), block);
        offset += static_cast<std::int64_t>(block);
        length -= static_cast<std::int64_t>(block);
        if (progress) {
            progress(static_cast<std::int64_t>(block));
        }
    }
}

void BinaryFile::truncateToWritten() {
    if (!isOpen()) {
        throw RunFailure(RunError::BadFileName);
    }
    if (::ftruncate(mDescriptor, static_cast<off_t>(mWritePosition)) != 0) {
        throwErrno(mPath);
    }
}

void BinaryFile::sync() {
    if (!isOpen()) {
        throw RunFailure(RunError::BadFileName);
    }
    if (::fsync(mDescriptor) != 0) {
        throwErrno(mPath);
    }
}

bool BinaryFile::isSameFileAs(const QString& path) const {
    struct stat mine {};
    struct stat other {};
    if (!isOpen() || ::fstat(mDescriptor, &mine) != 0 ||
        ::stat(QFile::encodeName(path).constData(), &other) != 0) {
        return false;
    }
    return mine.st_dev == other.st_dev && mine.st_ino == other.st_ino;
}

}  // namespace pictarium
