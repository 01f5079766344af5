#include <QApplication>

#include <gtest/gtest.h>

// The window's tests need a QApplication; they run on the offscreen platform
// so that no display is needed.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Zentaro"));
    return RUN_ALL_TESTS();
}
