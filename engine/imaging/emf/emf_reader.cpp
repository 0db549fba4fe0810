#include "emf_reader.h"

#include "emf_header.h"
#include "emf_player.h"
#include "emf_record.h"

namespace pictarium {

namespace {

// Plays every record onto the picture; false when the end-of-file record
// never comes.
bool playRecords(QByteArrayView bytes, const emf::Header& header, QImage& picture) {
    emf::Player player(header, picture);
    emf::RecordStream stream(bytes);
    while (!stream.atEnd()) {
        if (!player.play(stream.next())) {
            return true;
        }
    }
    return false;
}

}  // namespace

QImage decodeEnhancedMetafile(QByteArrayView bytes) {
    try {
        const emf::Header header = emf::readHeader(bytes);
        const QSize size = emf::pictureSize(header);
        QImage picture = allocatePicture(size.width(), size.height(), QImage::Format_RGB32);
        picture.fill(Qt::white);
        if (!playRecords(bytes.first(header.fileBytes), header, picture)) {
            return {};
        }
        return picture;
    } catch (const MalformedPicture&) {
        return {};
    }
}

}  // namespace pictarium
