#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

namespace pictarium {

// An exclusive advisory lock (flock) on a file, held until the object
// goes. Programs that ask for the same lock take turns; programs that only
// read never ask, so they are never held up.
class FileLock {
public:
    // Called while the lock is awaited, every few milliseconds; it may
    // throw to stop waiting.
    using WhileWaiting = std::function<void()>;

    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // The lock of the lock file `path`, created when missing and never
    // removed (removing lock files races with their next user). Nothing
    // when another program holds it longer than `patience`. Throws a
    // RunFailure naming the file when it cannot be created.
    [[nodiscard]] static std::optional<FileLock> lockFile(const QString& path,
                                                          std::chrono::milliseconds patience,
                                                          const WhileWaiting& whileWaiting);

    // The lock of the file that `path` names, which must exist. A file
    // replaced by rename while the lock was awaited is let go and the new
    // one locked, so the lock held is that of the file now at `path`.
    [[nodiscard]] static std::optional<FileLock> lockFileAt(const QString& path,
                                                            std::chrono::milliseconds patience,
                                                            const WhileWaiting& whileWaiting);

    [[nodiscard]] bool isHeld() const { return mDescriptor >= 0; }
    // True when `path` names the very file this lock holds.
    [[nodiscard]] bool holdsFileAt(const QString& path) const;

    // What the locked file holds (at most `limit` bytes), and a way to
    // replace it, flushed to disk: the lock file keeps a short note for
    // whoever takes the lock next.
    [[nodiscard]] QByteArray contents(qsizetype limit = 4096) const;
    void replaceContents(const QByteArray& bytes);

private:
    FileLock(int descriptor, QString path) : mDescriptor(descriptor), mPath(std::move(path)) {}
    void release() noexcept;

    int mDescriptor = -1;
    QString mPath;
};

}  // namespace pictarium
