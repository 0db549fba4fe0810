#include "tests/window/window_suites.h"
#include "window/french_translations.h"

#include <QApplication>

int main(int argc, char** argv) {
    // Widgets on the offscreen platform: no display needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const auto translator = pictarium::installFrenchTranslations();
    using namespace pictarium::test;
    int failures = 0;
    for (auto suite : {runDisplayGeometryTests, runPointerFileTests, runBoxesTests, runStartUpTests,
                       runRecordCommandTests, runImportTests}) {
        failures += suite(argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
