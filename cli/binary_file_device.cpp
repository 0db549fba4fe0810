#include "cli/binary_file_device_p.h"

namespace pictarium::cli {

BinaryFileDevice::BinaryFileDevice(BinaryFile& file) : mFile(file) {
    open(QIODevice::WriteOnly);
}

qint64 BinaryFileDevice::readData(char* /*data*/, qint64 /*maxSize*/) {
    return -1;
}

qint64 BinaryFileDevice::writeData(const char* data, qint64 size) {
    if (mFailure) {
        return -1;
    }
    try {
        mFile.write(data, static_cast<std::size_t>(size));
        return size;
    } catch (...) {
        mFailure = runFailureOfCurrentException();
        return -1;
    }
}

}  // namespace pictarium::cli
