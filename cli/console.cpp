#include "cli/console_p.h"

#include "base/process_environment.h"

#include <cstdio>
#include <utility>

namespace pictarium::cli {

namespace {

void printTo(std::FILE* stream, const QString& text) {
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    line.append(u'\n');
    const QByteArray bytes = line.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

}  // namespace

void printOut(const QString& text) {
    printTo(stdout, text);
}

void printError(const QString& text) {
    printTo(stderr, text);
}

void printProgress(const QString& text) {
    // Back to the start of the line, the text, then the rest of the line cleared.
    const QByteArray bytes = "\r" + text.toUtf8() + "\x1b[K";
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

StepCounter::StepCounter(QString label, qsizetype total)
    : mLabel(std::move(label)), mTotal(total), mShown(standardErrorIsTerminal()) {}

StepCounter::~StepCounter() {
    if (mShown && mDone > 0) {
        printError(QString());
    }
}

void StepCounter::step() {
    ++mDone;
    if (mShown) {
        printProgress(QStringLiteral("%1 %2 / %3").arg(mLabel).arg(mDone).arg(mTotal));
    }
}

}  // namespace pictarium::cli
