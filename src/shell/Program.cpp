#include "shell/Program.h"

#include "core/App.h"
#include "core/Pictures.h"
#include "platform/Memory.h"
#include "platform/QtPrinter.h"
#include "platform/QtServices.h"
#include "platform/QtSettings.h"
#include "shell/Startup.h"

#include <QApplication>

namespace vendalise {

int runVendalise() {
    keepFreedMemory();
    QApplication::setApplicationName(kApplicationName);
    QApplication::setOrganizationName(kApplicationName);
    QApplication::setWindowIcon(programPicture());
    QGuiApplication::setDesktopFileName(QStringLiteral("vendalise"));
    QtMessages messages;
    QtSettingsStore settings;
    QtPrinter printer;
    SystemClock clock;
    QtWindowSystem windows;
    Services services{messages, settings, printer, clock, windows, systemDefaultFolders()};
    App app(services);
    printer.setFolder([&app] { return app.files.current(); });
    runProgram(app);
    return 0;
}

} // namespace vendalise
