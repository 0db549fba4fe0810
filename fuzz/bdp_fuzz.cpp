// Opens arbitrary bytes as a base and browses it as a user would. The whole
// input is the base file; its last bytes also choose further operations, so
// a sample that fails is a base file that opens as it is.

#include "engine/class_dbp.h"
#include "fuzz/answering_host.h"
#include "fuzz/fuzz_folder.h"

#include <QImage>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace pictarium::fuzz {

namespace {

constexpr std::size_t ScriptLength = 8;
constexpr int StepKinds = 12;

QImage smallPicture(bool withPalette) {
    QImage picture(3, 2, QImage::Format_RGB888);
    picture.fill(QColor(200, 40, 90));
    picture.setPixelColor(1, 1, QColor(10, 220, 30));
    if (withPalette) {
        return picture.convertToFormat(QImage::Format_Indexed8);
    }
    return picture;
}

QString query(int code) {
    switch (code % 5) {
        case 0:
            return QStringLiteral("a");
        case 1:
            return QStringLiteral("CHAT");
        case 2:
            return QStringLiteral("é");
        case 3:
            return QStringLiteral(" x ");
        default:
            return QString(QChar(0x80 + code % 32));
    }
}

QString description(int code) {
    if (code % 5 == 0) {
        return QString(255, QChar(0xE0 + code % 26));
    }
    return QStringLiteral("Photo %1\t!").arg(code);
}

// Record `count` - 1 - `back`, kept in range of the type whatever the count.
std::int32_t countingBack(std::int32_t count, int back) {
    const std::int64_t index = std::int64_t{count} - 1 - back;
    return static_cast<std::int32_t>(
        std::max<std::int64_t>(index, std::numeric_limits<std::int32_t>::min()));
}

// The walk a user takes through a base just opened.
void browse(ClassDBP& engine) {
    engine.MoveNext();
    engine.MoveNext();
    engine.MoveLast();
    engine.MoveEnd();
    engine.SearchBDP(QStringLiteral("a"), true);
    engine.MoveFirst();
    engine.SearchBDP(QStringLiteral("chat"), false);
    engine.GetInfosBDP();
}

void runStep(ClassDBP& engine, std::uint8_t code) {
    switch (code % StepKinds) {
        case 0:
        case 1:
            engine.MoveNext();
            break;
        case 2:
            engine.MoveLast();
            break;
        case 3:
            engine.MoveFirst();
            break;
        case 4:
            engine.MoveEnd();
            break;
        case 5:
            engine.SearchBDP(query(code / StepKinds), false);
            break;
        case 6:
            engine.SearchBDP(query(code / StepKinds), true);
            break;
        case 7:
            engine.GetInfosBDP();
            break;
        case 8:
            engine.MoveTo(code / StepKinds - 1);
            break;
        case 9:
            engine.AddBDP(smallPicture((code & 0x80) != 0), description(code / StepKinds));
            break;
        case 10:
            engine.DeleteBDP();
            break;
        default:
            engine.MoveTo(countingBack(engine.recordCount(), code / StepKinds));
            break;
    }
}

}  // namespace

}  // namespace pictarium::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pictarium;
    const fuzz::FuzzFolder& folder = fuzz::fuzzFolder();
    fuzz::writeInput(folder.basePath(), data, size);

    fuzz::AnsweringHost host(folder.path());
    ClassDBP engine(host);
    if (!engine.OpenBDP(folder.basePath())) {
        return 0;
    }
    fuzz::browse(engine);
    const std::size_t scriptStart = size > fuzz::ScriptLength ? size - fuzz::ScriptLength : 0;
    for (std::size_t i = scriptStart; i < size; ++i) {
        fuzz::runStep(engine, data[i]);
    }
    return 0;
}
