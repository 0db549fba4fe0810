#include "cli/command_syntax_p.h"

#include "cli/console_p.h"

#include <algorithm>

namespace pictarium::cli {

namespace {

const QString HelpOption = QStringLiteral("--help");
const QString EndOfOptions = QStringLiteral("--");
const QString ProgramName = QStringLiteral("pictarium-cli");

const CommandSyntax* findCommand(const QList<CommandSyntax>& commands, const QString& name) {
    const auto found =
        std::find_if(commands.begin(), commands.end(),
                     [&](const CommandSyntax& command) { return command.name == name; });
    return found == commands.end() ? nullptr : &*found;
}

const OptionSyntax* findOption(const CommandSyntax& command, const QString& name) {
    const auto found =
        std::find_if(command.options.begin(), command.options.end(),
                     [&](const OptionSyntax& option) { return option.name == name; });
    return found == command.options.end() ? nullptr : &*found;
}

// --help anywhere before "--" wins over every other mistake on the line.
bool asksForHelp(const QStringList& words) {
    const qsizetype end = words.indexOf(EndOfOptions);
    const QStringList options = end < 0 ? words : words.first(end);
    return options.contains(HelpOption);
}

QString optionUsage(const OptionSyntax& option) {
    QString usage = option.name;
    if (!option.valueName.isEmpty()) {
        usage += u' ' + option.valueName;
    }
    return option.required ? usage : u'[' + usage + u']';
}

QStringList argumentsUsage(const CommandSyntax& command) {
    QStringList parts = command.arguments;
    if (!command.repeated.isEmpty()) {
        parts += u'[' + command.repeated.join(u' ') + QStringLiteral("]...");
    }
    return parts;
}

QString usageLine(const CommandSyntax& command) {
    QStringList parts{ProgramName, command.name};
    parts += argumentsUsage(command);
    for (const OptionSyntax& option : command.options) {
        parts += optionUsage(option);
    }
    return QStringLiteral("Utilisation : ") + parts.join(u' ');
}

}  // namespace

Invocation Invocation::parse(const QStringList& words, const QList<CommandSyntax>& commands) {
    Invocation invocation;
    if (words.isEmpty()) {
        invocation.fail(QStringLiteral("commande manquante."));
        return invocation;
    }
    if (words.first() == HelpOption) {
        invocation.mKind = Kind::GeneralHelp;
        return invocation;
    }
    invocation.mCommand = findCommand(commands, words.first());
    if (invocation.mCommand == nullptr) {
        invocation.fail(QStringLiteral("commande inconnue « %1 ».").arg(words.first()));
        return invocation;
    }
    const QStringList commandWords = words.mid(1);
    if (asksForHelp(commandWords)) {
        invocation.mKind = Kind::CommandHelp;
        return invocation;
    }
    invocation.parseCommandWords(commandWords);
    return invocation;
}

void Invocation::parseCommandWords(const QStringList& words) {
    bool optionsEnded = false;
    for (qsizetype position = 0; position < words.size(); ++position) {
        const QString& word = words.at(position);
        if (!optionsEnded && word == EndOfOptions) {
            optionsEnded = true;
        } else if (!optionsEnded && word.startsWith(EndOfOptions)) {
            if (!takeOption(words, position)) {
                return;
            }
        } else {
            mArguments += word;
        }
    }
    checkComplete();
}

// Reads the option at `position`, and its value; moves `position` past
// the value when it is the next word.
bool Invocation::takeOption(const QStringList& words, qsizetype& position) {
    const QString& word = words.at(position);
    const qsizetype equals = word.indexOf(u'=');
    const QString name = equals < 0 ? word : word.left(equals);
    const OptionSyntax* option = findOption(*mCommand, name);
    if (option == nullptr) {
        fail(QStringLiteral("option inconnue « %1 ».").arg(name));
        return false;
    }
    if (mOptions.contains(name)) {
        fail(QStringLiteral("l'option %1 est donnée deux fois.").arg(name));
        return false;
    }
    if (option->valueName.isEmpty()) {
        if (equals >= 0) {
            fail(QStringLiteral("l'option %1 ne prend pas de valeur.").arg(name));
            return false;
        }
        mOptions.insert(name, QString());
        return true;
    }
    if (equals >= 0) {
        mOptions.insert(name, word.mid(equals + 1));
        return true;
    }
    if (position + 1 >= words.size()) {
        fail(QStringLiteral("l'option %1 attend une valeur %2.").arg(name, option->valueName));
        return false;
    }
    mOptions.insert(name, words.at(++position));
    return true;
}

void Invocation::checkComplete() {
    const qsizetype required = mCommand->arguments.size();
    const qsizetype group = mCommand->repeated.size();
    const bool repeatsWhole =
        group > 0 && mArguments.size() > required && (mArguments.size() - required) % group == 0;
    if (mArguments.size() != required && !repeatsWhole) {
        fail(QStringLiteral("%1 argument(s) attendu(s) (%2), %3 donné(s).")
                 .arg(QString::number(required), argumentsUsage(*mCommand).join(u' '),
                      QString::number(mArguments.size())));
        return;
    }
    for (const OptionSyntax& option : mCommand->options) {
        if (option.required && !mOptions.contains(option.name)) {
            fail(QStringLiteral("l'option %1 %2 est obligatoire.")
                     .arg(option.name, option.valueName));
            return;
        }
    }
}

void Invocation::fail(const QString& message) {
    mKind = Kind::UsageError;
    mUsageError = message;
}

std::optional<std::int32_t> parseIndex(const QString& text) {
    const bool onlyDigits = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= u'0' && c <= u'9';
    });
    if (!onlyDigits) {
        return std::nullopt;
    }
    bool fits = false;
    const int value = text.toInt(&fits);
    if (!fits) {
        return std::nullopt;
    }
    return value;
}

ExitStatus reportUsageError(const QString& message, const CommandSyntax* command) {
    const QString helpCommand =
        command == nullptr ? ProgramName : ProgramName + u' ' + command->name;
    printError(ProgramName + QStringLiteral(" : ") + message);
    printError(QStringLiteral("Pour l'aide : %1 --help").arg(helpCommand));
    return ExitStatus::UsageError;
}

ExitStatus reportBadIndex(const QString& text, const CommandSyntax* command) {
    return reportUsageError(
        QStringLiteral("index incorrect « %1 » : un nombre entier de 0 ou plus est attendu.")
            .arg(text),
        command);
}

QString generalHelp(const QList<CommandSyntax>& commands) {
    QStringList lines{
        QStringLiteral("Pictarium en ligne de commande : crée, remplit, lit et vérifie les bases "
                       "d'images BDP."),
        QString(),
        QStringLiteral("Utilisation : %1 COMMANDE ARGUMENTS [OPTIONS]").arg(ProgramName),
        QString(),
        QStringLiteral("Commandes :"),
    };
    // The summaries start in one column, two spaces after the longest name.
    qsizetype column = 0;
    for (const CommandSyntax& command : commands) {
        column = std::max(column, command.name.size() + 2);
    }
    for (const CommandSyntax& command : commands) {
        lines += QStringLiteral("  %1%2").arg(command.name.leftJustified(column), command.summary);
    }
    lines += {
        QString(),
        QStringLiteral("%1 COMMANDE --help décrit une commande.").arg(ProgramName),
        QStringLiteral("Les index d'enregistrement commencent à 0. Les messages de Pictarium "
                       "s'affichent sur la sortie d'erreur ; ses questions reçoivent la réponse "
                       "Non, sauf avec --yes."),
        QStringLiteral("Code de sortie : 0 réussite, 1 refus ou échec, 2 erreur d'utilisation."),
    };
    return lines.join(u'\n');
}

QString commandHelp(const CommandSyntax& command) {
    QStringList lines{usageLine(command), QString(), command.description, QString(),
                      QStringLiteral("Options :")};
    for (const OptionSyntax& option : command.options) {
        QString name = option.name;
        if (!option.valueName.isEmpty()) {
            name += u' ' + option.valueName;
        }
        lines += QStringLiteral("  %1%2").arg(name.leftJustified(16), option.description);
    }
    lines += QStringLiteral("  %1%2").arg(HelpOption.leftJustified(16),
                                          QStringLiteral("affiche cette aide"));
    lines += QStringLiteral("  %1%2").arg(EndOfOptions.leftJustified(16),
                                          QStringLiteral("la suite n'est faite que d'arguments "
                                                         "(un TEXTE qui commence par -)"));
    return lines.join(u'\n');
}

}  // namespace pictarium::cli
