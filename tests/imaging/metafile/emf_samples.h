#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace pictarium::test {

struct EmfSample {
    QString name;  // a file name, ".emf" included
    QByteArray bytes;
};

// One small metafile of each kind real pictures use: a filled polygon, a
// Bézier path, a hatched rectangle, text, an embedded bitmap, a world
// transform, and one drawn by EMF+ records.
[[nodiscard]] QList<EmfSample> emfSamplesOfEveryKind();

}  // namespace pictarium::test
