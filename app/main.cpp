#include "app/mainwindow.h"
#include "app/uilanguage.h"
#include "app/vurncatalogue.h"
#include "desktop/instanceguard.h"
#include "desktop/terminationwatch.h"
#include "storage/statefolders.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QStandardPaths>
#include <QUrl>

namespace {

// Command-line arguments as absolute paths, so another process's working
// folder does not matter; file URLs (from some file managers) are accepted.
QStringList absolutePaths(const QStringList &arguments)
{
    QStringList paths;
    for (const QString &argument : arguments) {
        const QUrl url(argument);
        const QString path = url.isLocalFile() ? url.toLocalFile() : argument;
        paths << QFileInfo(path).absoluteFilePath();
    }
    return paths;
}

QIcon applicationIcon()
{
    QIcon compiledIn;
    for (const int size : {16, 32, 48, 64, 128, 256})
        compiledIn.addFile(QStringLiteral(":/icons/vurn-%1.png").arg(size), QSize(size, size));
    return QIcon::fromTheme(QStringLiteral("org.vurn.vurn"), compiledIn);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Names the per-user folders (~/.config/Vurn, ~/.local/share/Vurn).
    QApplication::setApplicationName(QStringLiteral("Vurn"));
    QApplication::setApplicationVersion(QStringLiteral("0.3.4"));
    QApplication::setDesktopFileName(QStringLiteral("org.vurn.vurn"));
    QApplication::setWindowIcon(applicationIcon());
    QApplication::setQuitOnLastWindowClosed(true);
    // Qt 5 decodes tr() literals as UTF-8, which is how the sources store them.
    // The player speaks Japanese, or English to a desktop in another language;
    // Qt's own buttons and dialogs speak the same. Chosen before --help is read.
    vurnCatalogue catalogue;
    catalogue.show(uiLanguage::ofDesktop());

    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate("main", "Vurn：アラーム時計つきの音楽プレーヤー"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption trayOption(QStringLiteral("tray"),
                                        QCoreApplication::translate("main", "トレイで起動する（トレイのない環境では最小化して起動）。"));
    parser.addOption(trayOption);
    parser.addPositionalArgument(QStringLiteral("paths"),
                                 QCoreApplication::translate("main", "プレイリストに追加するファイルまたはフォルダ。"),
                                 QCoreApplication::translate("main", "[パス...]"));
    parser.process(app);
    const QStringList paths = absolutePaths(parser.positionalArguments());

    // One player per state folder: a second start hands over and ends.
    QString runtimeDir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtimeDir.isEmpty())
        runtimeDir = QDir::tempPath();
    instanceGuard guard(QFileInfo(stateFolders::settingsFolder()).absoluteFilePath(), runtimeDir);
    if (!guard.claim()) {
        if (guard.handOver(paths))
            return 0;
        qCritical("vurn: another Vurn is running but does not answer");
        return 1;
    }

    int result;
    {
        MainWindow window;
        QObject::connect(&guard, &instanceGuard::activationRequested, &window, [&window](const QStringList &given) {
            window.bringToFront();
            window.addPathsFromDesktop(given);
        });
        // Ended by the session or a terminal: closed and saved as from the window.
        terminationWatch termination;
        QObject::connect(&termination, &terminationWatch::terminationRequested, &window, &MainWindow::quitForReal);
        window.addPaths(paths);
        if (parser.isSet(trayOption))
            window.startInTray();
        else
            window.show();
        result = app.exec();
    }
    return result;
}
