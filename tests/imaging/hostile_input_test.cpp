#include "imaging/core/bitmap_codec.h"
#include "imaging/picture_reader.h"
#include "tests/imaging/picture_file_fixture.h"
#include "tests/imaging/sample_catalog.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace pictarium::test {

namespace {

using Outcome = PictureReading::Outcome;

using HostileInputTest = PictureFileTest;

bool isMultiPage(const Sample& sample) {
    return sample.fileName.startsWith(QLatin1String("pages."));
}

// Cut in the middle of its pixels or in its header, every single-picture
// sample is refused. A multi-page file cut in half keeps its first page
// whole, and a PostScript program cut short still runs, so those two are
// left out.
TEST_F(HostileInputTest, truncatedCopiesOfEverySampleAreRefused) {
    for (const Sample& sample : allSamples()) {
        if (sample.expected.isNull() || isMultiPage(sample) || sample.fileName.endsWith(".eps")) {
            continue;
        }
        for (const qsizetype length : {sample.bytes.size() / 2, qsizetype{24}}) {
            SCOPED_TRACE(sample.fileName.toStdString() + " cut to " + std::to_string(length));
            const PictureReading reading = readAs(sample.fileName, sample.bytes.first(length));
            EXPECT_EQ(reading.outcome, Outcome::Refused);
        }
    }
}

// Our own decoders and the structural checks in front of lenient readers
// notice a single missing byte.
TEST_F(HostileInputTest, filesMissingTheirLastByteAreRefusedWhereTheStructureTells) {
    const QStringList strict = {".bmp", ".rle", ".gif", ".jpg", ".jff", ".jtf",
                                ".cmp", ".msp", ".img", ".clp", ".pic", ".mac"};
    for (const Sample& sample : allSamples()) {
        const bool checked = std::any_of(strict.begin(), strict.end(), [&](const QString& ext) {
            return sample.fileName.endsWith(ext, Qt::CaseInsensitive);
        });
        // The last bytes of then-another.gif are another file's, not its picture's.
        if (sample.expected.isNull() || !checked || sample.fileName == "quickdraw.pic" ||
            sample.fileName == "then-another.gif") {
            continue;
        }
        SCOPED_TRACE(sample.fileName.toStdString());
        // A GIF without its trailer alone is whole, as some writers leave
        // it; one byte more and its last image is cut.
        const bool gif = sample.fileName.endsWith(".gif", Qt::CaseInsensitive);
        const PictureReading reading = readAs(sample.fileName, sample.bytes.chopped(gif ? 2 : 1));
        EXPECT_EQ(reading.outcome, Outcome::Refused);
    }
}

// Bytes changed here and there: whatever the decoder makes of them, the
// outcome is a whole opaque picture within the limit, or the refusal.
TEST_F(HostileInputTest, corruptedCopiesOfEverySampleLoadWhollyOrAreRefused) {
    for (const Sample& sample : allSamples()) {
        for (int variant = 0; variant < 8; ++variant) {
            QByteArray bytes = sample.bytes;
            for (int i = 0; i < 4; ++i) {
                const qsizetype position = (variant * 7919 + i * 104729) % bytes.size();
                bytes[position] = static_cast<char>(bytes[position] ^ (0x5A + 13 * variant));
            }
            SCOPED_TRACE(sample.fileName.toStdString() + " variant " + std::to_string(variant));
            const PictureReading reading = readAs(sample.fileName, bytes);
            if (reading.outcome == Outcome::Refused) {
                EXPECT_TRUE(reading.picture.isNull());
                continue;
            }
            ASSERT_EQ(reading.outcome, Outcome::Loaded);
            EXPECT_FALSE(reading.picture.isNull());
            EXPECT_FALSE(reading.picture.hasAlphaChannel());
            EXPECT_LE(std::int64_t{reading.picture.width()} * reading.picture.height(),
                      MaxPicturePixels);
        }
    }
}

// Ghostscript runs in its safe mode: a document that opens files for
// writing or reading outside itself stops with an error and gives nothing.
TEST_F(HostileInputTest, postScriptCannotReachFilesOutsideItself) {
    const QString target = mFolder.filePath("written-by-postscript.txt");
    const QByteArray writer = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 36 24\n(" +
                              target.toUtf8() +
                              ") (w) file (leak) writestring\n0 0 36 24 rectfill showpage\n";
    EXPECT_EQ(readAs("writer.eps", writer).outcome, Outcome::Refused);
    EXPECT_FALSE(QFile::exists(target));

    const QByteArray reader =
        "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 36 24\n"
        "(/etc/passwd) (r) file pop 0 0 36 24 rectfill showpage\n";
    EXPECT_EQ(readAs("reader.eps", reader).outcome, Outcome::Refused);
}

}  // namespace

}  // namespace pictarium::test
