#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>

namespace pictarium::bench {

// A picture with some detail in it, so that nothing about it is special.
[[nodiscard]] QImage makeTestPicture(QSize size);
// Smooth light, edges and grain, so that a JPEG of it is as costly to
// decode, and as large, as a real photo of that size (about 1.5 bits per
// pixel).
[[nodiscard]] QImage photoLikePicture(QSize size);

// The bytes the engine stores for `picture`: its bitmap file less the first
// three bytes.
[[nodiscard]] QByteArray storedPictureBytes(const QImage& picture);

// The bitmap file a reader rebuilds from stored picture bytes.
[[nodiscard]] QByteArray rebuiltBitmapFile(const QByteArray& storedPicture);

// Writes a complete base at `path` in one pass, straight from the format's
// helpers: `count` records, record i with the description `description(i)`
// and the stored picture bytes `storedPicture`. Much faster than adding
// records one by one, which rewrites the base every time. Throws
// std::runtime_error when the file cannot be written.
void writeBase(const QString& path, std::int32_t count, const QByteArray& storedPicture,
               const std::function<QString(std::int32_t)>& description);

// The number of records of `storedPicture` and `description` that make a
// base of at least `bytes` bytes.
[[nodiscard]] std::int32_t recordsForSize(std::int64_t bytes, const QByteArray& storedPicture,
                                          const QString& description);

}  // namespace pictarium::bench
