#ifdef VENDALISE_TEST_WINDOWS
#include <QApplication>
#else
#include <QCoreApplication>
#endif

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
#ifdef VENDALISE_TEST_WINDOWS
    // Wine hands no QT_ variable to a Windows program: the platform and
    // the scale factor may be named by VENDALISE_ ones.
    for (const char* name : {"QPA_PLATFORM", "SCALE_FACTOR"}) {
        const QByteArray ours = QByteArray("VENDALISE_") + name;
        if (!qEnvironmentVariableIsEmpty(ours.constData()))
            qputenv((QByteArray("QT_") + name).constData(), qgetenv(ours.constData()));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
#else
    QCoreApplication application(argc, argv);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
