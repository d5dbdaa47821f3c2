// Start-up to a shown main window with a 10,000-track Vurn.ini, against a bare
// TagLib read loop over the same files.
#include "app/mainwindow.h"
#include "settings/vurnsettings.h"
#include "support/audiofixtures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <taglib/fileref.h>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;

    AudioFixtures fixtures;
    QStringList files;
    for (int i = 0; i < count; ++i)
        files << fixtures.makeTinyWav(QStringLiteral("lib/%1/t%2.wav").arg(i / 500).arg(i), 1000);

    QTemporaryDir stateDir;
    {
        QFile ini(stateDir.filePath(QStringLiteral("Vurn.ini")));
        if (!ini.open(QIODevice::WriteOnly))
            return 1;
        QTextStream out(&ini);
        out.setCodec("UTF-8");
        out << "[General]\nRepeatMode=シャッフル\nVolume=40\n";
        for (int i = 0; i < count; ++i)
            out << "\n[" << i << "]\nFile=" << files.at(i) << "\nTime=1000\nTitle=t" << i << "\n";
    }

    // Warm the file cache once so both runs read from memory.
    for (const QString &file : files)
        TagLib::FileRef(QFile::encodeName(file).constData(), true, TagLib::AudioProperties::Average);

    QElapsedTimer timer;
    timer.start();
    qint64 lengths = 0;
    for (const QString &file : files) {
        TagLib::FileRef ref(QFile::encodeName(file).constData(), true, TagLib::AudioProperties::Average);
        if (!ref.isNull() && ref.audioProperties())
            lengths += ref.audioProperties()->lengthInSeconds();
    }
    const double bare = timer.nsecsElapsed() / 1e6;

    vurnSettings::setStateDirectoryOverride(stateDir.path());
    timer.restart();
    MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 3;
    const double startup = timer.nsecsElapsed() / 1e6;
    const int rows = window.findChild<QTableWidget *>(QStringLiteral("playListTable"))->rowCount();

    std::printf("startup: %d tracks restored, %.0f ms to a shown window; bare TagLib loop %.0f ms "
                "(%lld s of audio); ratio %.2f\n",
                rows, startup, bare, static_cast<long long>(lengths), startup / bare);
    return rows == count ? 0 : 2;
}
