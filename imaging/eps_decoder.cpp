#include "imaging/eps_decoder_p.h"

#include "base/process_environment.h"
#include "imaging/core/bitmap_codec.h"
#include "imaging/core/byte_reader.h"
#include "imaging/magick_picture_decoder_p.h"
#include "imaging/metafile/wmf_reader.h"
#include "imaging/qt_picture_decoder_p.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>
#include <optional>

namespace pictarium {

namespace {

constexpr double DotsPerInch = 96.0;
constexpr double PointsPerInch = 72.0;
constexpr int RenderTimeoutMilliseconds = 30'000;
constexpr qsizetype CommentSearchLength = 64 * 1024;

struct DosEpsSections {
    QByteArrayView postScript;
    QByteArrayView metafilePreview;
    QByteArrayView tiffPreview;
};

// A DOS binary EPS starts with C5 D0 D3 C6 and the offset and length of
// its PostScript, WMF and TIFF parts.
std::optional<DosEpsSections> dosSections(QByteArrayView bytes) {
    try {
        ByteReader reader(bytes);
        if (reader.take(4) != QByteArrayView("\xC5\xD0\xD3\xC6")) {
            return std::nullopt;
        }
        const auto section = [&]() -> QByteArrayView {
            const qsizetype offset = reader.u32le();
            const qsizetype length = reader.u32le();
            if (length == 0 || offset > bytes.size() || length > bytes.size() - offset) {
                return {};
            }
            return bytes.sliced(offset, length);
        };
        DosEpsSections sections;
        sections.postScript = section();
        sections.metafilePreview = section();
        sections.tiffPreview = section();
        return sections;
    } catch (const MalformedPicture&) {
        return std::nullopt;
    }
}

struct BoundingBox {
    double left = 0;
    double bottom = 0;
    double right = 0;
    double top = 0;
};

std::optional<BoundingBox> parseBoundingBox(QByteArrayView text) {
    static const QRegularExpression comment(
        QStringLiteral(R"(%%BoundingBox:\s*(-?[\d.]+)\s+(-?[\d.]+)\s+(-?[\d.]+)\s+(-?[\d.]+))"));
    const QRegularExpressionMatch match = comment.match(QString::fromLatin1(text));
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    BoundingBox box{match.captured(1).toDouble(), match.captured(2).toDouble(),
                    match.captured(3).toDouble(), match.captured(4).toDouble()};
    if (!(box.right > box.left && box.top > box.bottom)) {
        return std::nullopt;
    }
    return box;
}

// The comment sits in the header, or at the end with "(atend)".
std::optional<BoundingBox> boundingBoxOf(QByteArrayView postScript) {
    const qsizetype length = std::min(postScript.size(), CommentSearchLength);
    if (auto box = parseBoundingBox(postScript.first(length))) {
        return box;
    }
    return parseBoundingBox(postScript.last(length));
}

// Throws PictureTooLarge for a drawing over the pixel limit at screen size.
void requirePageWithinPixelLimit(const BoundingBox& box) {
    const double scale = DotsPerInch / PointsPerInch;
    requireDrawingWithinPixelLimit((box.right - box.left) * scale, (box.top - box.bottom) * scale);
}

// The page is the bounding box, fixed so that the document cannot enlarge
// it; the drawing is moved so that the box's corner is the page's.
QStringList ghostscriptArguments(const QString& path, const BoundingBox& box) {
    const auto number = [](double value) { return QString::number(value, 'f', 3); };
    return {
        QStringLiteral("-q"),
        QStringLiteral("-dSAFER"),
        QStringLiteral("-dBATCH"),
        QStringLiteral("-dNOPAUSE"),
        QStringLiteral("-dNOPROMPT"),
        QStringLiteral("-dFIXEDMEDIA"),
        QStringLiteral("-dFIXEDRESOLUTION"),
        QStringLiteral("-dLastPage=1"),
        QStringLiteral("-dDEVICEWIDTHPOINTS=") + number(box.right - box.left),
        QStringLiteral("-dDEVICEHEIGHTPOINTS=") + number(box.top - box.bottom),
        QStringLiteral("-r%1").arg(DotsPerInch),
        QStringLiteral("-dTextAlphaBits=4"),
        QStringLiteral("-dGraphicsAlphaBits=4"),
        QStringLiteral("-sDEVICE=png16m"),
        QStringLiteral("-sOutputFile=-"),
        QStringLiteral("-c"),
        number(-box.left) + QLatin1Char(' ') + number(-box.bottom) + QStringLiteral(" translate"),
        QStringLiteral("-f"),
        QFileInfo(path).absoluteFilePath()};
}

QImage renderWithGhostscript(const QString& path, QByteArrayView postScript) {
    const QString ghostscript = QStandardPaths::findExecutable(QStringLiteral("gs"));
    const std::optional<BoundingBox> box = boundingBoxOf(postScript);
    if (ghostscript.isEmpty() || !box) {
        return {};
    }
    requirePageWithinPixelLimit(*box);
    // Safe mode still lets Ghostscript write in its temporary folder: give
    // it a private one, gone when the rendering ends.
    const QTemporaryDir scratch;
    if (!scratch.isValid()) {
        return {};
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name :
         {QStringLiteral("TMPDIR"), QStringLiteral("TEMP"), QStringLiteral("TMP")}) {
        environment.insert(name, scratch.path());
    }
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(scratch.path());
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    // Hostile PostScript may allocate without end; the renderer gets 2 GiB.
    capChildMemory(process, std::uint64_t{2} << 30);
    process.start(ghostscript, ghostscriptArguments(path, *box), QIODevice::ReadOnly);
    if (!process.waitForFinished(RenderTimeoutMilliseconds)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        return {};
    }
    const QByteArray png = process.readAllStandardOutput();
    return decodeWithQt(png, "png");
}

QImage previewOf(const DosEpsSections& sections) {
    if (!sections.tiffPreview.isEmpty()) {
        if (QImage preview = decodeWithQt(sections.tiffPreview, "tiff"); !preview.isNull()) {
            return preview;
        }
    }
    if (!sections.metafilePreview.isEmpty()) {
        return decodeWindowsMetafile(sections.metafilePreview);
    }
    return {};
}

}  // namespace

QImage decodeEncapsulatedPostScript(const QString& path, QByteArrayView bytes) {
    const std::optional<DosEpsSections> sections = dosSections(bytes);
    const QByteArrayView postScript = sections ? sections->postScript : bytes;
    if (QImage rendered = renderWithGhostscript(path, postScript); !rendered.isNull()) {
        return rendered;
    }
    return sections ? previewOf(*sections) : QImage();
}

}  // namespace pictarium
