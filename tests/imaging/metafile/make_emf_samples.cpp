// Writes the metafiles of every kind into the folder given, as seeds for
// the fuzzers: make-emf-samples tests/data/emf/seeds, and with --wmf the
// Windows metafiles: make-emf-samples --wmf tests/data/wmf/seeds

#include "tests/imaging/metafile/emf_samples.h"
#include "tests/imaging/metafile/wmf_samples.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    const bool windowsMetafiles = argc == 3 && std::strcmp(argv[1], "--wmf") == 0;
    if (argc != 2 && !windowsMetafiles) {
        std::fprintf(stderr, "usage: make-emf-samples [--wmf] FOLDER\n");
        return 2;
    }
    const char* path = argv[argc - 1];
    const QDir folder(QString::fromLocal8Bit(path));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", path);
        return 1;
    }
    const auto samples = windowsMetafiles ? pictarium::test::wmfSamplesOfEveryKind()
                                          : pictarium::test::emfSamplesOfEveryKind();
    for (const auto& sample : samples) {
        QFile file(folder.filePath(sample.name));
        if (!file.open(QIODevice::WriteOnly) || file.write(sample.bytes) != sample.bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
