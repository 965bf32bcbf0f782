// Runs one scenario file in fresh folders and reports its failures, one
// line each; exits 0 when every expectation held.

#include "platform/FolderLock.h"
#include "ScenarioRunner.h"
#include "Version.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

using namespace vendalise;
using namespace vendalise::testing;

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE.scn\n", argv[0]);
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    QFile script(file);
    if (!script.open(QIODevice::ReadOnly)) {
        std::printf("%s: cannot read the scenario\n", qUtf8Printable(file));
        return 1;
    }
    const QString text = QString::fromUtf8(script.readAll());

    // Fresh folders: the data folder, and a home folder that holds the
    // settings store and the default data directory.
    // The only folder the runner removes at the end is this one, which it
    // has just made itself.
    QTemporaryDir temporary(QDir::tempPath() + QStringLiteral("/") + kScratchPrefix +
                            QStringLiteral("XXXXXX"));
    temporary.setAutoRemove(false);
    ScenarioPaths paths;
    if (temporary.isValid())
        paths.root = QDir(temporary.path()).canonicalPath();
    if (paths.root.isEmpty()) {
        std::printf("%s: cannot make a temporary folder in %s: %s\n", qUtf8Printable(file),
                    qUtf8Printable(QDir::tempPath()), qUtf8Printable(temporary.errorString()));
        return 2;
    }
    // The data folder is in the scratch folder, unless VENDALISE_SCENARIO_DATA
    // names an empty one, made by the caller where a club would keep it (the
    // README's pictures).
    paths.data = qEnvironmentVariableIsEmpty("VENDALISE_SCENARIO_DATA")
                     ? paths.root + QStringLiteral("/data")
                     : QDir::cleanPath(QDir::fromNativeSeparators(
                           qEnvironmentVariable("VENDALISE_SCENARIO_DATA")));
    paths.home = paths.root + QStringLiteral("/home");
    // The data folder is the default data directory: a scenario that stores
    // it starts there without the question that another folder brings.
    paths.defaultData = paths.data;
    QDir().mkpath(paths.data);
    QDir().mkpath(paths.home + QStringLiteral("/.config"));
    QDir().mkpath(paths.root + QStringLiteral("/runtime"));
    QFile::setPermissions(paths.root + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", QFile::encodeName(paths.home));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(paths.home + QStringLiteral("/.config")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(paths.root + QStringLiteral("/runtime")));
    // Wine hands no variable starting with QT_ to a Windows program: there
    // the platform is named by VENDALISE_QPA_PLATFORM.
    if (!qEnvironmentVariableIsEmpty("VENDALISE_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", qgetenv("VENDALISE_QPA_PLATFORM"));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The folder to look for, in the test that no scenario leaves one.
    if (qEnvironmentVariableIsSet("VENDALISE_SHOW_SCRATCH"))
        std::printf("scratch: %s\n", qUtf8Printable(QDir::toNativeSeparators(paths.root)));
    const QString startedIn = QDir::currentPath();
    paths.startedIn = startedIn;
    QDir::setCurrent(paths.home);

    QApplication application(argc, argv);

    const QHash<QString, QString> values{
        {QStringLiteral("<data>"), QDir::toNativeSeparators(paths.data)},
        {QStringLiteral("<home>"), QDir::toNativeSeparators(paths.home)},
        {QStringLiteral("<default>"), QDir::toNativeSeparators(paths.defaultData)},
        // The default directory spelt in capitals.
        {QStringLiteral("<DEFAULT>"), QDir::toNativeSeparators(paths.defaultData).toUpper()},
        {QStringLiteral("<version>"), QString::fromLatin1(kVersionText)},
        // This computer's name, as a lock file tells it.
        {QStringLiteral("<host>"), FolderLock::thisComputer()},
        // The folder the runner was started in.
        {QStringLiteral("<cwd>"), QDir::toNativeSeparators(startedIn)},
        // Where a scenario leaves what another program reads after it: the
        // folder VENDALISE_SCENARIO_OUT names, else the scratch home.
        {QStringLiteral("<out>"), qEnvironmentVariableIsEmpty("VENDALISE_SCENARIO_OUT")
                                      ? QDir::toNativeSeparators(paths.home)
                                      : qEnvironmentVariable("VENDALISE_SCENARIO_OUT")},
    };
    QStringList errors;
    std::vector<Step> steps =
        parseScenario(text, values, &errors, QFileInfo(QDir(startedIn), file).absolutePath());
    if (!errors.isEmpty()) {
        for (const QString& error : errors)
            std::printf("%s:%s\n", qUtf8Printable(file), qUtf8Printable(error));
        removeScratch(paths);
        return 1;
    }
    ScenarioRunner runner(file, std::move(steps), paths);
    runner.run();
}
