#include "imaging/metafile/emf_reader.h"

#include "imaging/metafile/embedded_metafile_p.h"
#include "imaging/metafile/emf_header_p.h"
#include "imaging/metafile/emf_player_p.h"
#include "imaging/metafile/emf_record_p.h"
#include "imaging/metafile/emf_record_types_p.h"
#include "imaging/metafile/emfplus_player_p.h"

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
void playRecords(QByteArrayView bytes, const emf::Header& header, QImage& picture,
                 bool drawsMetafileImages) {
    using emf::PlusRecords;
    const PlusRecords plus = !emfplus::isDrawnByPlusRecords(bytes) ? PlusRecords::Ignored
                             : drawsMetafileImages                 ? PlusRecords::Drawn
                                                   : PlusRecords::DrawnWithoutMetafiles;
    emf::Player player(header, picture, plus);
    emf::RecordStream stream(bytes);
    while (!stream.atEnd() && player.play(stream.next())) {
    }
}

}  // namespace

QImage emf::drawEnhancedMetafile(QByteArrayView bytes, const QColor& page, bool drawsMetafileImages,
                                 QSize size) {
    try {
        const Header header = readHeader(bytes);
        const QByteArrayView records = bytes.first(header.fileBytes);
        if (!hasWholeChain(records)) {
            return {};
        }
        if (size.isEmpty()) {
            size = pictureSize(header);
        }
        QImage picture = allocatePicture(size.width(), size.height(), QImage::Format_RGB32);
        picture.fill(page);
        playRecords(records, header, picture, drawsMetafileImages);
        return picture;
    } catch (const MalformedPicture&) {
        return {};
    }
}

QImage decodeEnhancedMetafile(QByteArrayView bytes) {
    return emf::drawEnhancedMetafile(bytes, Qt::white, true);
}

}  // namespace pictarium
