#pragma once

#include "tests/imaging/metafile/emf_samples.h"

#include <QList>

namespace pictarium::test {

// One small Windows metafile of each kind real pictures use: shapes of
// every record, text in two character sets, a clip region, a stretched
// bitmap, a file without placeable header or window.
[[nodiscard]] QList<EmfSample> wmfSamplesOfEveryKind();

}  // namespace pictarium::test
