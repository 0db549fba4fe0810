#pragma once

#include <QString>

namespace pictarium::cli {

// One message or line of output, in UTF-8, followed by a line break. The
// engine's texts use CR LF between lines; they become plain line breaks.
void printOut(const QString& text);
void printError(const QString& text);
// Rewrites the current line of standard error with `text`, without ending it.
void printProgress(const QString& text);

// Counts the steps of a long command, "label 3 / 100", on one line of
// standard error when it is a terminal; the line is ended when the counter
// goes.
class StepCounter {
public:
    StepCounter(QString label, qsizetype total);
    ~StepCounter();
    StepCounter(const StepCounter&) = delete;
    StepCounter& operator=(const StepCounter&) = delete;

    void step();

private:
    QString mLabel;
    qsizetype mTotal;
    qsizetype mDone = 0;
    bool mShown;
};

}  // namespace pictarium::cli
