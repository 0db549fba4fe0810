#pragma once

#include <QString>
#include <QTemporaryDir>

#include <cstdint>

namespace pictarium::bench {

// A private folder for the bases and temporary files of one benchmark
// program, removed when it ends. It lies under $PICTARIUM_BENCH_DIR when
// that is set, else under the system's temporary folder.
class ScratchFolder {
public:
    ScratchFolder();  // throws std::runtime_error when it cannot be made

    [[nodiscard]] QString path() const { return mFolder.path(); }
    [[nodiscard]] QString filePath(const QString& name) const { return mFolder.filePath(name); }
    [[nodiscard]] std::int64_t freeBytes() const;

private:
    QTemporaryDir mFolder;
};

}  // namespace pictarium::bench
