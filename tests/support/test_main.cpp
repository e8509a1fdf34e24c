// GoogleTest entry point for every suite: a Qt application object exists for
// the whole run (a widget application for the suites that drive windows).
#include "session/FtpLink.h"

#include <gtest/gtest.h>

#ifdef TARVO_TEST_GUI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char **argv)
{
#ifdef TARVO_TEST_GUI
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // Connection threads end before the program's objects do.
    ftp::FtpLink::closeAll(5000);
    return result;
}
