// Writes the enhanced metafiles of every kind into the folder given, as
// seeds for the fuzzer: make-emf-samples tests/data/emf/seeds. The seeds of
// rarer records there (shapes, raster, plus-images) were written once and
// are kept as they are.

#include "tests/imaging/metafile/emf_samples.h"

#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-emf-samples FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    for (const auto& sample : pictarium::test::emfSamplesOfEveryKind()) {
        QFile file(folder.filePath(sample.name));
        if (!file.open(QIODevice::WriteOnly) || file.write(sample.bytes) != sample.bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
