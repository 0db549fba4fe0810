#include "cli/command_table_p.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

// The manual page and the bash completion are written by hand; these tests
// hold them to the command table, from which the help is made.

namespace pictarium::cli::test {

namespace {

QString sourceText(const char* name) {
    QFile file(QStringLiteral(PICTARIUM_CLI_SOURCE_DIR "/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return QString::fromUtf8(file.readAll());
}

// "picture BASE INDEX SORTIE.bmp": a .BI line's words joined as troff
// prints them, fonts and escapes left out.
QString printedSynopsis(QString line) {
    line.remove(0, 4);
    QString printed;
    static const QRegularExpression word(QStringLiteral(R"re("([^"]*)"|(\S+))re"));
    for (const QRegularExpressionMatch& match : word.globalMatch(line)) {
        printed += match.hasCaptured(1) ? match.captured(1) : match.captured(2);
    }
    static const QRegularExpression font(QStringLiteral(R"(\\f[RBI])"));
    printed.remove(font);
    printed.replace(QStringLiteral("\\-"), QStringLiteral("-"));
    printed.replace(QStringLiteral("\\['E]"), QStringLiteral("É"));
    return printed;
}

// The synopsis of each command in the COMMANDES section, by its name.
QMap<QString, QString> manualCommands(const QString& page) {
    const QString section =
        page.section(QStringLiteral(".SH COMMANDES\n"), 1).section(QStringLiteral("\n.SH "), 0, 0);
    QMap<QString, QString> synopses;
    const QStringList lines = section.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i] == QStringLiteral(".TP") && lines[i + 1].startsWith(QStringLiteral(".BI "))) {
            const QString synopsis = printedSynopsis(lines[i + 1]);
            synopses.insert(synopsis.section(QLatin1Char(' '), 0, 0), synopsis);
        }
    }
    return synopses;
}

QStringList words(const QString& text) {
    return text.split(QRegularExpression(QStringLiteral(R"(\s*\|\s*|\s+)")), Qt::SkipEmptyParts);
}

QStringList tableNames() {
    QStringList names;
    for (const CommandSyntax& command : commandTable()) {
        names << command.name;
    }
    return names;
}

}  // namespace

TEST(CommandListTest, theManualPageDescribesEachCommandWithItsArgumentsAndOptions) {
    const QMap<QString, QString> synopses = manualCommands(sourceText("pictarium-cli.1"));
    const QStringList names = tableNames();
    ASSERT_EQ(QSet<QString>(synopses.keyBegin(), synopses.keyEnd()),
              QSet<QString>(names.begin(), names.end()));
    for (const CommandSyntax& command : commandTable()) {
        const QString synopsis = synopses.value(command.name);
        const QStringList synopsisWords = words(synopsis);
        for (const QString& argument : command.arguments) {
            EXPECT_TRUE(synopsisWords.contains(argument))
                << synopsis.toStdString() << " lacks " << argument.toStdString();
        }
        for (const OptionSyntax& option : command.options) {
            EXPECT_TRUE(synopsis.contains(option.name))
                << synopsis.toStdString() << " lacks " << option.name.toStdString();
        }
    }
}

TEST(CommandListTest, theCompletionOffersEachCommandWithItsOptions) {
    const QString script = sourceText("pictarium-cli.bash-completion");
    const QRegularExpressionMatch commands =
        QRegularExpression(QStringLiteral(R"(local commands='([^']*)')")).match(script);
    ASSERT_TRUE(commands.hasMatch());
    EXPECT_EQ(words(commands.captured(1)), tableNames());

    // "search) options='--from --backward' ;;" and the like.
    QMap<QString, QStringList> offered;
    static const QRegularExpression line(QStringLiteral(R"(\n\s*([a-z| -]+)\) options='([^']*)')"));
    for (const QRegularExpressionMatch& match : line.globalMatch(script)) {
        for (const QString& name : words(match.captured(1))) {
            offered.insert(name, words(match.captured(2)));
        }
    }
    // The options whose value the completion steps over.
    const QRegularExpressionMatch valued =
        QRegularExpression(QStringLiteral(R"(\n\s*(--[a-z| -]+)\) i=\$\(\(i \+ 1\)\) ;;)"))
            .match(script);
    ASSERT_TRUE(valued.hasMatch());
    QSet<QString> tableValued;
    for (const CommandSyntax& command : commandTable()) {
        ASSERT_TRUE(offered.contains(command.name)) << command.name.toStdString();
        QStringList options;
        for (const OptionSyntax& option : command.options) {
            options << option.name;
            if (!option.valueName.isEmpty()) {
                tableValued.insert(option.name);
            }
        }
        EXPECT_EQ(QSet<QString>(offered[command.name].begin(), offered[command.name].end()),
                  QSet<QString>(options.begin(), options.end()))
            << command.name.toStdString();
    }
    const QStringList stepped = words(valued.captured(1));
    EXPECT_EQ(QSet<QString>(stepped.begin(), stepped.end()), tableValued);
}

}  // namespace pictarium::cli::test
