#include "imaging/emf/emf_reader.h"

#include "imaging/emf/embedded_metafile_p.h"
#include "imaging/emf/emf_header_p.h"
#include "imaging/emf/emf_player_p.h"
#include "imaging/emf/emf_record_p.h"
#include "imaging/emf/emf_record_types_p.h"
#include "imaging/emf/emfplus_player_p.h"

namespace pictarium {

namespace {

// Walks the chain of records up to the end-of-file record, so that a file
// cut short is refused before its picture is allocated.
bool hasWholeChain(QByteArrayView bytes) {
    emf::RecordStream stream(bytes);
    while (!stream.atEnd()) {
        if (stream.next().type == emf::RecordType::EndOfFile) {
            return true;
        }
    }
    return false;
}

// Plays the records onto the picture, up to the end-of-file record.
void playRecords(QByteArrayView bytes, const emf::Header& header, QImage& picture, bool embedded) {
    using emf::PlusRecords;
    const PlusRecords plus = !emfplus::isDrawnByPlusRecords(bytes) ? PlusRecords::Ignored
                             : embedded ? PlusRecords::DrawnWithoutMetafiles
                                        : PlusRecords::Drawn;
    emf::Player player(header, picture, plus);
    emf::RecordStream stream(bytes);
    while (!stream.atEnd() && player.play(stream.next())) {
    }
}

// An embedded metafile is drawn on transparency, a file on white.
QImage decode(QByteArrayView bytes, bool embedded) {
    try {
        const emf::Header header = emf::readHeader(bytes);
        const QByteArrayView records = bytes.first(header.fileBytes);
        if (!hasWholeChain(records)) {
            return {};
        }
        const QSize size = emf::pictureSize(header);
        QImage picture =
            allocatePicture(size.width(), size.height(),
                            embedded ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
        picture.fill(embedded ? Qt::transparent : Qt::white);
        playRecords(records, header, picture, embedded);
        return picture;
    } catch (const MalformedPicture&) {
        return {};
    }
}

}  // namespace

QImage decodeEnhancedMetafile(QByteArrayView bytes) {
    return decode(bytes, false);
}

QImage emf::decodeEmbeddedEnhancedMetafile(QByteArrayView bytes) {
    return decode(bytes, true);
}

}  // namespace pictarium
