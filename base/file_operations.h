#pragma once

#include <QString>

#include <cstdint>

namespace pictarium {

// File-level steps of the engine. All but the *Quietly ones throw a
// RunFailure on failure.

// The engine's existence test: true when the name matches at least one entry
// that is neither a folder nor a hidden file. Wildcards (* and ?) in the last
// part of the name are honoured. Never throws.
[[nodiscard]] bool regularFileMatches(const QString& name);

// The window's existence test: true for an existing file or folder, hidden
// ones included; false for the empty string and on any error. Never throws.
[[nodiscard]] bool PathExists(const QString& path);

// `folder` joined with `name`, adding a separator only when needed.
[[nodiscard]] QString pathInFolder(const QString& folder, const QString& name);

// Whether this program, as its effective user and groups, may write the
// file. Never throws.
[[nodiscard]] bool mayWriteFile(const QString& path);

// Whether this program may give the file a new inode by a rename: the file
// is its own (or it runs as the superuser), and it may change the folder
// that holds the file. `owner` is the file's owner as statusOf gives it.
// Never throws.
[[nodiscard]] bool mayReplaceByRename(const QString& path, std::uint32_t owner);

void removeFile(const QString& path);
void removeFileQuietly(const QString& path) noexcept;

// A full copy; `to` is created or replaced. With `durable` the copy is on
// the disk itself before this returns.
void copyFile(const QString& from, const QString& to, bool durable);

// Puts the complete file `from` in the place of `to` in one step, so that
// `to` is always either the old file or the new one, whole. `from` is gone
// afterwards, and `to` has its rights. Works across file systems by staging
// a copy beside `to`.
void replaceFile(const QString& from, const QString& to);

// Where replaceFile stages its copy of a file for `target` on another file
// system; a crash can leave it behind.
[[nodiscard]] QString swapStagingPath(const QString& target);

}  // namespace pictarium
