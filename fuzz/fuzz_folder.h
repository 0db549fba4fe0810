#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace pictarium::fuzz {

// The session's program folder. On a memory file system when there is one,
// so that the engine's flushes to disk cost nothing.
class FuzzFolder {
public:
    FuzzFolder() : mFolder(folderTemplate()) {
        if (!mFolder.isValid()) {
            std::abort();
        }
    }
    [[nodiscard]] QString path() const { return mFolder.path(); }
    [[nodiscard]] QString basePath() const { return mFolder.filePath(QStringLiteral("base.bdp")); }

private:
    static QString folderTemplate() {
        const QString root = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                       : QDir::tempPath();
        return QDir(root).filePath(QStringLiteral("pictarium-fuzz-XXXXXX"));
    }

    QTemporaryDir mFolder;
};

inline const FuzzFolder& fuzzFolder() {
    static const FuzzFolder folder;
    return folder;
}

inline void writeInput(const QString& path, const std::uint8_t* data, std::size_t size) {
    QFile file(path);
    const auto length = static_cast<qint64>(size);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), length) != length) {
        std::abort();
    }
}

}  // namespace pictarium::fuzz
