// Recovers arbitrary bytes as a damaged base. Whatever they hold, the base
// written from what is found must pass every check of the verifier and be
// exactly as long as the recovery said.

#include "base/binary_file.h"
#include "base/run_errors.h"
#include "engine/base_recovery.h"
#include "engine/base_verifier.h"
#include "fuzz/fuzz_folder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pictarium;
    const fuzz::FuzzFolder& folder = fuzz::fuzzFolder();
    const QString damagedPath = folder.basePath();
    const QString newPath = folder.path() + QStringLiteral("/recovered.bdp");
    fuzz::writeInput(damagedPath, data, size);
    try {
        const BinaryFile damaged = BinaryFile::openForReading(damagedPath);
        // The last byte also says whether cut pictures are kept.
        const RecoveryOptions options{size > 0 && (data[size - 1] & 1) != 0};
        const RecoveryReport report = findRecoverableRecords(damaged, options);
        {
            BinaryFile target = BinaryFile::create(newPath);
            writeRecoveredBase(damaged, report, target);
        }
        const BinaryFile written = BinaryFile::openForReading(newPath);
        if (written.size() != recoveredBaseSize(report) ||
            !BaseVerifier(written).verify().isEmpty() || report.unclaimedBytes < 0 ||
            report.unclaimedBytes > static_cast<std::int64_t>(size)) {
            std::abort();
        }
    } catch (const RunFailure&) {
        std::abort();  // nothing here may fail but the files of the folder
    }
    return 0;
}
