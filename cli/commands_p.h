#pragma once

#include "cli/command_syntax_p.h"
#include "cli/exit_status.h"

namespace pictarium::cli {

// The options, each spelled here once for the table, the commands and
// their messages.
// Answers yes to the engine's question whether to replace a file.
inline const QString YesOption = QStringLiteral("--yes");
inline const QString FitOption = QStringLiteral("--fit");
inline const QString FormatOption = QStringLiteral("--format");
inline const QString FromOption = QStringLiteral("--from");
inline const QString BackwardOption = QStringLiteral("--backward");
inline const QString AtOption = QStringLiteral("--at");
inline const QString PartialOption = QStringLiteral("--partial");
inline const QString EmptyOption = QStringLiteral("--empty");
inline const QString ColumnsOption = QStringLiteral("--columns");
inline const QString FilterOption = QStringLiteral("--filter");

// The commands of the tool. Each takes an invocation already checked
// against its syntax.

// Those that go through the engine, one per operation.
[[nodiscard]] ExitStatus runCreate(const Invocation& call);
[[nodiscard]] ExitStatus runAdd(const Invocation& call);
[[nodiscard]] ExitStatus runImport(const Invocation& call);
[[nodiscard]] ExitStatus runList(const Invocation& call);
[[nodiscard]] ExitStatus runPicture(const Invocation& call);
[[nodiscard]] ExitStatus runExport(const Invocation& call);
[[nodiscard]] ExitStatus runExportAll(const Invocation& call);
[[nodiscard]] ExitStatus runCatalogue(const Invocation& call);
[[nodiscard]] ExitStatus runDelete(const Invocation& call);
[[nodiscard]] ExitStatus runText(const Invocation& call);
[[nodiscard]] ExitStatus runTexts(const Invocation& call);
[[nodiscard]] ExitStatus runMove(const Invocation& call);
[[nodiscard]] ExitStatus runTrash(const Invocation& call);
[[nodiscard]] ExitStatus runRestore(const Invocation& call);
[[nodiscard]] ExitStatus runSearch(const Invocation& call);
[[nodiscard]] ExitStatus runInfo(const Invocation& call);

// Checks a base file without the engine; see BaseVerifier.
[[nodiscard]] ExitStatus runVerify(const Invocation& call);
// Saves what a damaged base still holds into a new base; see
// findRecoverableRecords.
[[nodiscard]] ExitStatus runRecover(const Invocation& call);

}  // namespace pictarium::cli
