#include "cli/commands_p.h"

#include "base/binary_file.h"
#include "base/run_errors.h"
#include "cli/console_p.h"
#include "engine/base_verifier.h"

namespace pictarium::cli {

ExitStatus runVerify(const Invocation& call) {
    const QString path = call.argument(0);
    BinaryFile file;
    try {
        file = BinaryFile::openForReading(path);
    } catch (const RunFailure&) {
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
