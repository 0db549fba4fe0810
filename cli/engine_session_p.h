#pragma once

#include "cli/cli_host_p.h"
#include "cli/exit_status.h"
#include "engine/class_dbp.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace pictarium::cli {

// One engine with its terminal owner, for the length of one command.
class EngineSession {
public:
    explicit EngineSession(bool answerYes = false);

    [[nodiscard]] ClassDBP& engine() { return mEngine; }
    [[nodiscard]] CliHost& host() { return mHost; }

    // Opens the base; false when no base is open afterwards.
    [[nodiscard]] bool open(const QString& baseName);
    // Opens the base to change it: its lock is taken first and kept to the
    // end of the command, so that commands run at once on one base take
    // turns instead of stepping on each other.
    [[nodiscard]] bool openToChange(const QString& baseName);
    // Puts record `index` on show; false, with a message already given,
    // when it is not there or cannot be shown.
    [[nodiscard]] bool show(std::int32_t index);
    // Makes record `index` current without reading its picture.
    [[nodiscard]] bool select(std::int32_t index);
    // Whether the open base has record `index`; when not, says so,
    // `where` first.
    [[nodiscard]] bool hasRecord(std::int32_t index, const QString& where = QString());

private:
    CliHost mHost;
    ClassDBP mEngine;
    // Opening already tried to show record 0; a failure was reported then.
    bool mFirstRecordTried = false;
};

// Runs `read`, a command that only reads, on a session of its own. When
// another program replaces the base meanwhile, the engine stops and says
// so: `read` then starts again on the new base, a few times at most, the
// news said only the last time.
[[nodiscard]] ExitStatus readAgainOnChange(const std::function<ExitStatus(EngineSession&)>& read);

}  // namespace pictarium::cli
