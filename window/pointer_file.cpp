#include "window/pointer_file_p.h"

#include "base/file_operations.h"

#include <QFile>
#include <QFileInfo>

namespace pictarium {

namespace {

// Only the start of the file is looked at; a path needs a NUL within it
// unless the file is shorter.
constexpr qint64 ReadLimit = 1000;

}  // namespace

QString readPointerFile(const QString& pointerFile) {
    if (!PathExists(pointerFile)) {
        return {};
    }
    QFile file(pointerFile);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QByteArray buffer = file.read(ReadLimit);
    // Bytes past the end of the file read as NULs.
    buffer.append(QByteArray(ReadLimit - buffer.size(), '\0'));
    const qsizetype end = buffer.indexOf('\0');
    if (end < 0) {
        return {};
    }
    const QString candidate = QFile::decodeName(buffer.left(end));
    return PathExists(candidate) ? candidate : QString();
}

bool writePointerFile(const QString& pointerFile, const QString& path) {
    if (QFileInfo::exists(pointerFile) || QFileInfo(pointerFile).isSymLink()) {
        // A read-only file must go too: it is replaced, never appended to.
        QFile::setPermissions(pointerFile, QFile::ReadOwner | QFile::WriteOwner);
        if (!QFile::remove(pointerFile)) {
            return false;
        }
    }
    QFile file(pointerFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return false;
    }
    const QByteArray bytes = QFile::encodeName(path);
    return file.write(bytes) == bytes.size() && file.flush();
}

}  // namespace pictarium
