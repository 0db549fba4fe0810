#include "bench/size_options.h"

#include <QStringList>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace pictarium::bench {

QString takeOption(int& argc, char** argv, const char* option, const char* variable,
                   const QString& fallback) {
    QString value = qEnvironmentVariable(variable, fallback);
    const std::size_t length = std::strlen(option);
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], option, length) == 0) {
            value = QString::fromLocal8Bit(argv[i] + length);
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return value;
}

std::vector<std::int64_t> parseSizes(const QString& text) {
    std::vector<std::int64_t> sizes;
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
        bool valid = false;
        const std::int64_t megabytes = part.trimmed().toLongLong(&valid);
        if (!valid || megabytes < 1 || megabytes > 1536) {
            throw std::runtime_error("sizes are MiB from 1 to 1536: " + part.toStdString());
        }
        sizes.push_back(megabytes);
    }
    std::sort(sizes.begin(), sizes.end());
    return sizes;
}

}  // namespace pictarium::bench
