#pragma once

#include "engine/class_dbp.h"
#include "tests/engine/recording_host.h"
#include "tests/imaging/bitmap_bytes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pictarium::test {

using Log = std::vector<std::string>;

inline const QString kCorrupt = QStringLiteral(
    "Impossible d'obtenir l'image de cet index !!! Votre base de données doit être corrompue !");

// One engine with a private program folder and a folder for bases.
class EngineTest : public ::testing::Test {
public:
    // A small picture whose pixels depend on `seed`.
    [[nodiscard]] static QImage picture(int seed, int width = 5, int height = 3);

protected:
    [[nodiscard]] QString basePath(const QString& name = QStringLiteral("base.bdp")) const;
    // Writes a base holding `count` records "record 0", "record 1", ... with
    // small distinct pictures, through an engine of its own.
    QString buildBase(int count, const QString& name = QStringLiteral("base.bdp"));
    // Builds such a base and opens it in mBase, showing record 0; forgets
    // the events this caused.
    QString openBaseWith(int count, const QString& name = QStringLiteral("base.bdp"));

    [[nodiscard]] static QByteArray readAll(const QString& path);
    static void writeAll(const QString& path, const QByteArray& bytes);
    // Makes record `index`'s picture in the base at `path` decode to nothing
    // (its header size is no bitmap's); gives back the base's new bytes.
    static QByteArray spoilPicture(const QString& path, int index);
    [[nodiscard]] bool tempFilesLeft() const;
    // The stored bytes of a picture: its bitmap file without the first three bytes.
    [[nodiscard]] static QByteArray storedBytes(const QImage& image);

    QTemporaryDir mProgramFolder;
    QTemporaryDir mDataFolder;
    RecordingHost mHost{mProgramFolder.path()};
    ClassDBP mBase{mHost};
};

}  // namespace pictarium::test
