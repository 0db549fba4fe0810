#pragma once

#include "cli/exit_status.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace pictarium::cli {

struct OptionSyntax {
    QString name;       // "--from"
    QString valueName;  // "INDEX"; empty for a switch such as "--yes"
    QString description;
    bool required = false;
};

class Invocation;

struct CommandSyntax {
    QString name;
    QStringList arguments;  // the positional arguments, all required
    QList<OptionSyntax> options;
    QString summary;      // one line for the general help
    QString description;  // the command's own help
    ExitStatus (*run)(const Invocation&) = nullptr;
    // The last arguments of `arguments` that may be given again, as a
    // group, any number of times: {"IMAGE", "TEXTE"}.
    QStringList repeated = {};
};

// One command line, checked against the syntax of its command.
class Invocation {
public:
    enum class Kind { Run, GeneralHelp, CommandHelp, UsageError };

    [[nodiscard]] static Invocation parse(const QStringList& words,
                                          const QList<CommandSyntax>& commands);

    [[nodiscard]] Kind kind() const { return mKind; }
    [[nodiscard]] const CommandSyntax* command() const { return mCommand; }
    [[nodiscard]] const QString& usageError() const { return mUsageError; }

    [[nodiscard]] QString argument(qsizetype position) const { return mArguments.at(position); }
    [[nodiscard]] qsizetype argumentCount() const { return mArguments.size(); }
    [[nodiscard]] bool hasOption(const QString& name) const { return mOptions.contains(name); }
    [[nodiscard]] QString optionValue(const QString& name) const { return mOptions.value(name); }

private:
    void parseCommandWords(const QStringList& words);
    bool takeOption(const QStringList& words, qsizetype& position);
    void checkComplete();
    void fail(const QString& message);

    Kind mKind = Kind::Run;
    const CommandSyntax* mCommand = nullptr;
    QStringList mArguments;
    QMap<QString, QString> mOptions;
    QString mUsageError;
};

// A record index as typed: a decimal number from 0 up.
[[nodiscard]] std::optional<std::int32_t> parseIndex(const QString& text);

// Prints the message and the hint to ask for help; returns the usage status.
ExitStatus reportUsageError(const QString& message, const CommandSyntax* command);
// The usage error of an index that parseIndex does not take.
ExitStatus reportBadIndex(const QString& text, const CommandSyntax* command);

[[nodiscard]] QString generalHelp(const QList<CommandSyntax>& commands);
[[nodiscard]] QString commandHelp(const CommandSyntax& command);

}  // namespace pictarium::cli
