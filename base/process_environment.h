#pragma once

#include <QProcess>

#include <cstdint>

namespace pictarium {

// Whether standard error is a terminal, that is, a person reads it.
[[nodiscard]] bool standardErrorIsTerminal();

// Caps the address space of the child that `process` starts, so that a
// hostile document cannot make it allocate without end. Where the system
// has no such cap, the child runs as it is.
void capChildMemory(QProcess& process, std::uint64_t bytes);

}  // namespace pictarium
