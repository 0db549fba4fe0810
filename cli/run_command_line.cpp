#include "cli/run_command_line.h"

#include "cli/command_table.h"
#include "cli/console.h"

namespace pictarium::cli {

ExitStatus runCommandLine(const QStringList& words) {
    const QList<CommandSyntax>& commands = commandTable();
    const Invocation call = Invocation::parse(words, commands);
    switch (call.kind()) {
        case Invocation::Kind::GeneralHelp:
            printOut(generalHelp(commands));
            return ExitStatus::Success;
        case Invocation::Kind::CommandHelp:
            printOut(commandHelp(*call.command()));
            return ExitStatus::Success;
        case Invocation::Kind::UsageError:
            return reportUsageError(call.usageError(), call.command());
        case Invocation::Kind::Run:
            break;
    }
    return call.command()->run(call);
}

}  // namespace pictarium::cli
