#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace pictarium {

// What the system says of a file: enough to tell whether a path still
// names the same unchanged file, and to make another file like it.
struct FileStatus {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::uint32_t mode = 0;  // permission bits only
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
    std::uint64_t links = 0;

    // Same file, same size, same last change.
    [[nodiscard]] bool isUnchanged(const FileStatus& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modifiedNanoseconds == other.modifiedNanoseconds;
    }
};

// The status of the file at `path`; nothing when there is none.
[[nodiscard]] std::optional<FileStatus> statusOf(const QString& path);

// Told how many bytes a long copy has moved so far. It may throw to stop
// the copy.
using CopyProgress = std::function<void(std::int64_t copied)>;

// An open file handle for binary access. Closes itself. Every failure is
// thrown as a RunFailure carrying the classic failure number.
class BinaryFile {
public:
    BinaryFile() = default;
    ~BinaryFile();
    BinaryFile(BinaryFile&& other) noexcept;
    BinaryFile& operator=(BinaryFile&& other) noexcept;
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    [[nodiscard]] static BinaryFile openForReading(const QString& path);
    // Creates the file, or empties an existing one, for writing from offset 0.
    [[nodiscard]] static BinaryFile create(const QString& path);
    // Creates the file for writing, as private as `model` from its first
    // byte: its permissions, and its owner and group where the system
    // allows; where the group cannot be kept, the group loses its rights
    // rather than another group gaining them.
    [[nodiscard]] static BinaryFile createLike(const QString& path, const FileStatus& model);
    // Opens an existing file for writing over its bytes from offset 0.
    [[nodiscard]] static BinaryFile openForOverwriting(const QString& path);

    [[nodiscard]] bool isOpen() const { return mDescriptor >= 0; }
    void close() noexcept;

    [[nodiscard]] std::int64_t size() const;
    [[nodiscard]] FileStatus status() const;
    [[nodiscard]] const QString& path() const { return mPath; }
    // The size when the file was opened for reading: the engine's own bases
    // are only ever replaced whole, never changed under an open handle.
    [[nodiscard]] std::int64_t openedSize() const { return mOpenedSize; }

    // Reads up to `count` bytes at `offset`; fewer only at the end of the file.
    [[nodiscard]] std::size_t readAt(std::int64_t offset, char* destination,
                                     std::size_t count) const;
    // Reads exactly `count` bytes, or fails with "input past end of file".
    void readExactAt(std::int64_t offset, char* destination, std::size_t count) const;

    // Appends after what this handle has written so far.
    void write(const char* data, std::size_t count);
    // Appends `length` bytes of `source` starting at `offset`, in the kernel
    // where it can, else through a bounded buffer, telling `progress` as it
    // goes.
    void appendFrom(const BinaryFile& source, std::int64_t offset, std::int64_t length,
                    const CopyProgress& progress = {});
    // Cuts the file at what this handle has written.
    void truncateToWritten();
    [[nodiscard]] std::int64_t writtenSize() const { return mWritePosition; }

    // Flushes written data to the disk itself.
    void sync();

    // True when `path` names the very file this handle holds.
    [[nodiscard]] bool isSameFileAs(const QString& path) const;

private:
    explicit BinaryFile(int descriptor, QString path);
    void appendThroughBuffer(const BinaryFile& source, std::int64_t offset, std::int64_t length,
                             const CopyProgress& progress);

    int mDescriptor = -1;
    QString mPath;
    std::int64_t mWritePosition = 0;
    std::int64_t mOpenedSize = 0;
};

}  // namespace pictarium
