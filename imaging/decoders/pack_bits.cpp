#include "imaging/decoders/pack_bits_p.h"

#include "imaging/core/byte_reader.h"

namespace pictarium {

QByteArray unpackBits(QByteArrayView packed, qsizetype length, int unit) {
    QByteArray unpacked;
    ByteReader reader(packed);
    while (!reader.atEnd() && unpacked.size() < length) {
        const int code = reader.u8();
        if (code < 128) {
            unpacked.append(reader.take(qsizetype{code + 1} * unit));
        } else if (code > 128) {
            const QByteArrayView value = reader.take(unit);
            for (int i = 0; i < 257 - code; ++i) {
                unpacked.append(value);
            }
        }
    }
    requireValid(unpacked.size() >= length);
    unpacked.truncate(length);
    return unpacked;
}

}  // namespace pictarium
