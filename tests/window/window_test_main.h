#pragma once

#include "window/french_translations.h"

#include <QApplication>
#include <QTest>

namespace pictarium::test {

// Runs one Qt Test class as the window runs: widgets on the offscreen
// platform (no display needed), Qt's own texts in French.
template <typename TestClass>
int runWindowTest(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const auto translator = installFrenchTranslations();
    TestClass suite;
    return QTest::qExec(&suite, argc, argv);
}

}  // namespace pictarium::test

// The main of a window test program.
#define PICTARIUM_WINDOW_TEST_MAIN(TestClass)                         \
    int main(int argc, char** argv) {                                 \
        return pictarium::test::runWindowTest<TestClass>(argc, argv); \
    }
