#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

namespace pictarium {

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

    [[nodiscard]] bool isOpen() const { return mDescriptor >= 0; }
    void close() noexcept;

    [[nodiscard]] std::int64_t size() const;
    // The size when the file was opened for reading: the engine's own bases
    // are only ever replaced whole, never changed under an open handle.
    [[nodiscard]] std::int64_t openedSize() const { return mOpenedSize; }

    // Reads up to `count` bytes at `offset`; fewer only at the end of the file.
    [[nodiscard]] std::size_t readAt(std::int64_t offset, char* destination,
                                     std::size_t count) const;
    // Reads exactly `count` bytes, or fails with "input past end of file".
    void readExactAt(std::int64_t offset, char* destination, std::size_t count) const;
    // Reads `firstCount` bytes into `first` and the bytes that follow them
    // into `second`, in one call; fails like readExactAt.
    void readExactAt(std::int64_t offset, char* first, std::size_t firstCount, char* second,
                     std::size_t secondCount) const;

    // Appends after what this handle has written so far.
    void write(const char* data, std::size_t count);
    // Appends `length` bytes of `source` starting at `offset`, in the kernel
    // where it can, else through a bounded buffer.
    void appendFrom(const BinaryFile& source, std::int64_t offset, std::int64_t length);
    [[nodiscard]] std::int64_t writtenSize() const { return mWritePosition; }

    // Flushes written data to the disk itself.
    void sync();

    // True when `path` names the very file this handle holds.
    [[nodiscard]] bool isSameFileAs(const QString& path) const;

private:
    explicit BinaryFile(int descriptor, QString path);
    void appendThroughBuffer(const BinaryFile& source, std::int64_t offset, std::int64_t length);

    int mDescriptor = -1;
    QString mPath;
    std::int64_t mWritePosition = 0;
    std::int64_t mOpenedSize = 0;
};

}  // namespace pictarium
