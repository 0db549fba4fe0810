// Writes every imaging sample into a folder, for trying the readers by
// hand or from the command-line tool: make-imaging-samples FOLDER. With
// --emf, the enhanced metafiles of every kind instead, the fuzzer's seeds:
// make-imaging-samples --emf tests/data/emf/seeds (the seeds of rarer
// records there, shapes, raster and plus-images, were written once and are
// kept as they are).

#include "tests/imaging/metafile/emf_samples.h"
#include "tests/imaging/sample_catalog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

using namespace pictarium::test;

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const bool metafiles = argc == 3 && QByteArrayView(argv[1]) == "--emf";
    if (argc != 2 && !metafiles) {
        std::fprintf(stderr, "usage: make-imaging-samples [--emf] FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[argc - 1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[argc - 1]);
        return 1;
    }
    QList<std::pair<QString, QByteArray>> files;
    if (metafiles) {
        for (const EmfSample& sample : emfSamplesOfEveryKind()) {
            files.append({sample.name, sample.bytes});
        }
    } else {
        for (const Sample& sample : allSamples()) {
            files.append({sample.fileName, sample.bytes});
        }
    }
    for (const auto& [name, bytes] : files) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
