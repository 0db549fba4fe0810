#include "base/process_environment.h"

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace pictarium {

bool standardErrorIsTerminal() {
#ifdef Q_OS_UNIX
    return ::isatty(STDERR_FILENO) == 1;
#else
    return false;
#endif
}

void capChildMemory(QProcess& process, std::uint64_t bytes) {
#ifdef Q_OS_UNIX
    // Runs in the child, between fork and exec.
    process.setChildProcessModifier([bytes] {
        const rlimit memory{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
        ::setrlimit(RLIMIT_AS, &memory);
    });
#else
    (void)process;
    (void)bytes;
#endif
}

}  // namespace pictarium
