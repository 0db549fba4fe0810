#pragma once

#include "base/binary_file.h"
#include "base/file_lock.h"
#include "engine/bdp_format.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace pictarium {

// The engine's state: the open base and its current record.
struct BaseState {
    std::int32_t CurrentIndex = -1;  // 0-based; -1: no current record
    std::int32_t RecordCount = 0;
    BinaryFile FileNumber;  // the open base, read only; closed: no base open
    QString FileName;       // exactly as passed to OpenBDP
    std::int32_t Signature = 0;
    // The current record's picture as a rebuilt bitmap file: the three bytes
    // "BM." then the stored picture bytes. Kept whole so that a picture
    // never needs a second copy in memory to be decoded or written.
    QByteArray PictureFile;
    QByteArray TextBytes;  // the current record's text in stored form
    IndexEntry Entry;
    // The base file as it was when the engine last opened it: another
    // program's change shows as a difference.
    FileStatus Opened;
    // A reopen after another program's change is under way.
    bool Reopening = false;
    // The lock of the base, held from ReserveBDP to the end of the engine.
    std::optional<FileLock> Reservation;
    // Told of the bytes copied while a rewrite runs.
    CopyProgress RewriteProgress;
};

}  // namespace pictarium
