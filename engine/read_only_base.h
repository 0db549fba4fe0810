#pragma once

#include "base/binary_file.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace pictarium {

// Where a record's stored picture lies in its base.
struct StoredPictureLocation {
    std::int64_t offset = 0;  // absolute, in the base file
    std::int32_t length = 0;
};

// A base opened for reading alone, apart from ClassDBP, so that another
// thread can read its pictures while the engine goes on. It takes no lock,
// so it never holds up a writer; since writers replace the base by rename,
// the file it holds stays whole, and `isUnchanged` tells when a writer
// went over it in place instead. It shows nothing and raises no event.
class ReadOnlyBase {
public:
    // Nothing when the file cannot be opened or is no Pictarium base.
    [[nodiscard]] static std::optional<ReadOnlyBase> open(const QString& path);

    [[nodiscard]] std::int32_t recordCount() const { return mRecordCount; }
    [[nodiscard]] const QString& path() const { return mFile.path(); }

    // Record `index`'s stored picture; nothing when the index is out of
    // range or its entry does not fit the file.
    [[nodiscard]] std::optional<StoredPictureLocation> pictureLocation(std::int32_t index) const;

    // Every record's description, in order, as the engine shows it; nothing
    // when an entry or a text does not fit the file.
    [[nodiscard]] std::optional<QStringList> descriptions() const;

    // Up to `count` bytes at `offset`: fewer at the end of the file as it
    // was opened, none when the file cannot be read.
    [[nodiscard]] QByteArray read(std::int64_t offset, std::int64_t count) const;

    // The stored picture rebuilt as a bitmap file ("BM." and its bytes), as
    // the engine reads it: only its headers when they show that it cannot
    // decode. Empty when the file cannot be read.
    [[nodiscard]] QByteArray pictureFile(const StoredPictureLocation& location) const;

    // Record `index`'s picture, decoded; a null one when it cannot be read.
    [[nodiscard]] QImage picture(std::int32_t index) const;

    // Whether the file held is still as it was opened: false once another
    // program wrote over it in place, so what was read from it since may
    // be torn.
    [[nodiscard]] bool isUnchanged() const;

private:
    ReadOnlyBase() = default;

    BinaryFile mFile;
    FileStatus mOpened;
    std::int32_t mRecordCount = 0;
};

}  // namespace pictarium
