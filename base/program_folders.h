#pragma once

#include <QString>

namespace pictarium {

// Where the program finds its files and keeps what it writes.
struct ProgramFolders {
    // The folder that holds the executable: the help file lives there.
    QString programFolder;
    // Where "default.tsi" and the engine's temporary files go: the
    // program's folder, or the per-user data folder when the program's
    // folder cannot be written (an installed copy).
    QString dataFolder;
    // Where the trashes of the bases go: always in the user's own data
    // folder, whichever copy of the program deleted the records.
    QString trashFolder;
    // Where the thumbnails of records are kept between runs.
    QString thumbnailFolder;
};

// Names the running program as the window and the command line share it,
// so that both find the same per-user folder.
void nameProgram();

// The folders of the running program. Needs a QCoreApplication.
[[nodiscard]] ProgramFolders findProgramFolders();

// `folder` when a file can be created in it, else `fallback`, which is
// created when missing.
[[nodiscard]] QString writableFolderOr(const QString& folder, const QString& fallback);

// The folder with a trailing separator, as paths are built from it.
[[nodiscard]] QString withSeparator(const QString& folder);

}  // namespace pictarium
