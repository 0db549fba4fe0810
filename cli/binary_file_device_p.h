#pragma once

#include "base/binary_file.h"
#include "base/run_errors.h"

#include <QIODevice>

#include <optional>

namespace pictarium::cli {

// A write-only device over a BinaryFile, for Qt writers that take a
// QIODevice (QPdfWriter). They ignore a failed write; this keeps the first
// failure, with its classic number, for the command to report.
class BinaryFileDevice : public QIODevice {
public:
    explicit BinaryFileDevice(BinaryFile& file);

    [[nodiscard]] const std::optional<RunFailure>& failure() const { return mFailure; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    BinaryFile& mFile;
    std::optional<RunFailure> mFailure;
};

}  // namespace pictarium::cli
