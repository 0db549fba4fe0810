#include "cli/commands_p.h"

#include "cli/base_verifier_p.h"
#include "cli/console_p.h"

#include <QFile>

namespace pictarium::cli {

ExitStatus runVerify(const Invocation& call) {
    const QString path = call.argument(0);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("Impossible d'ouvrir la base « %1 ».").arg(path));
        return ExitStatus::Failure;
    }
    BaseVerifier verifier(file);
    const QList<BaseProblem> problems = verifier.verify();
    for (const BaseProblem& problem : problems) {
        printOut(problem.toText());
    }
    if (!problems.isEmpty()) {
        return ExitStatus::Failure;
    }
    printOut(QStringLiteral("Base correcte : %1 enregistrement(s).").arg(verifier.recordCount()));
    return ExitStatus::Success;
}

}  // namespace pictarium::cli
