#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Picture code needs a Gui application; the offscreen platform needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
