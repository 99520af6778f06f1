#include <QApplication>
#include <gtest/gtest.h>

// Host services (translation, dialogs, widgets) expect a Qt application object.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
