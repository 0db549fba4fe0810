#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>

namespace pictarium {

// The bytes of a picture file, mapped into memory rather than copied, for
// as long as this object lives. Throws RunFailure 53 when the file does
// not exist and 75 when it is not a readable regular file.
class PictureFileBytes {
public:
    explicit PictureFileBytes(const QString& path);
    ~PictureFileBytes() = default;
    PictureFileBytes(const PictureFileBytes&) = delete;
    PictureFileBytes& operator=(const PictureFileBytes&) = delete;

    [[nodiscard]] QByteArrayView bytes() const { return mBytes; }

private:
    QFile mFile;
    QByteArrayView mBytes;
};

}  // namespace pictarium
