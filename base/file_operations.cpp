#include "base/file_operations.h"

#include "base/binary_file.h"
#include "base/run_errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pictarium {

namespace {

bool hasWildcard(const QString& text) {
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?'));
}

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

// Makes a rename inside `folder` survive a power cut. Best effort: some
// file systems cannot sync a folder, and the data itself is already synced.
void syncFolder(const QString& folder) {
    const int descriptor = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

void renameOrThrow(const QString& from, const QString& to) {
    if (std::rename(native(from).constData(), native(to).constData()) != 0) {
        throw RunFailure(runErrorFromErrno(errno, to));
    }
}

// Replacing a file must not replace a link to it.
QString resolvedTarget(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

}  // namespace

bool regularFileMatches(const QString& name) {
    if (name.isEmpty()) {
        return false;
    }
    const QFileInfo info(name);
    const QString pattern = info.fileName();
    if (pattern.isEmpty() || hasWildcard(info.path())) {
        return false;
    }
    if (!hasWildcard(pattern)) {
        struct stat status {};
        return !pattern.startsWith(QLatin1Char('.')) &&
               ::stat(native(name).constData(), &status) == 0 && !S_ISDIR(status.st_mode);
    }
    const QDir folder = info.dir();
    return !folder.entryList({pattern}, QDir::Files | QDir::System).isEmpty();
}

bool mayWriteFile(const QString& path) {
    return ::faccessat(AT_FDCWD, native(path).constData(), W_OK, AT_EACCESS) == 0;
}

bool mayReplaceByRename(const QString& path, std::uint32_t owner) {
    const bool ours = ::geteuid() == 0 || owner == ::geteuid();
    const QString folder = QFileInfo(QFileInfo(path).canonicalFilePath()).absolutePath();
    return ours && ::access(native(folder).constData(), W_OK | X_OK) == 0;
}

bool PathExists(const QString& path) {
    return !path.isEmpty() && QFileInfo::exists(path);
}

QString pathInFolder(const QString& folder, const QString& name) {
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ||
        folder.endsWith(QLatin1Char('\\'))) {
        return folder + name;
    }
    return folder + QLatin1Char('/') + name;
}

void removeFile(const QString& path) {
    if (::unlink(native(path).constData()) != 0) {
        throw RunFailure(runErrorFromErrno(errno, path));
    }
}

void removeFileQuietly(const QString& path) noexcept {
    ::unlink(native(path).constData());
}

void copyFile(const QString& from, const QString& to, bool durable) {
    const BinaryFile source = BinaryFile::openForReading(from);
    BinaryFile target = BinaryFile::create(to);
    target.appendFrom(source, 0, source.size());
    if (durable) {
        target.sync();
    }
}

QString swapStagingPath(const QString& target) {
    const QFileInfo info(resolvedTarget(target));
    return pathInFolder(info.absolutePath(),
                        QStringLiteral(".") + info.fileName() + QStringLiteral(".pictarium-swap"));
}

void replaceFile(const QString& from, const QString& to) {
    const QString target = resolvedTarget(to);
    const QString folder = QFileInfo(target).absolutePath();
    if (std::rename(native(from).constData(), native(target).constData()) == 0) {
        syncFolder(folder);
        return;
    }
    if (errno != EXDEV) {
        throw RunFailure(runErrorFromErrno(errno, target));
    }
    // Another file system: stage a complete, synced copy beside the target,
    // as private as the file it copies, then swap it in, so the target is
    // never half written.
    const QString staged = swapStagingPath(target);
    try {
        const BinaryFile source = BinaryFile::openForReading(from);
        removeFileQuietly(staged);
        BinaryFile copy = BinaryFile::createLike(staged, source.status());
        copy.appendFrom(source, 0, source.size());
        copy.sync();
        copy.close();
        renameOrThrow(staged, target);
    } catch (...) {
        removeFileQuietly(staged);
        throw;
    }
    syncFolder(folder);
    removeFileQuietly(from);
}

}  // namespace pictarium
