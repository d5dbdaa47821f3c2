// Start-up to a shown main window with a 10,000-track Vurn.ini, against a bare
// TagLib read loop over the same files; then the same tracks loaded as a
// saved playlist, against that start.
#include "app/mainwindow.h"
#include "playlist/trackloader.h"
#include "playlist/vurncore.h"
#include "storage/playliststore.h"
#include "storage/vurnsettings.h"
#include "support/audiofixtures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <algorithm>
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

    // Two baselines: the length alone, and the length with the four tags the
    // player shows (what reading a track means for it). Each is the median of
    // three rounds; a busy machine makes single rounds swing widely.
    qint64 lengths = 0;
    qint64 tagChars = 0;
    auto readAll = [&](bool tags) {
        QElapsedTimer clock;
        clock.start();
        for (const QString &file : files) {
            TagLib::FileRef ref(QFile::encodeName(file).constData(), true,
                                TagLib::AudioProperties::Average);
            if (ref.isNull() || !ref.audioProperties())
                continue;
            lengths += ref.audioProperties()->lengthInSeconds();
            if (tags && ref.tag()) {
                const TagLib::Tag *tag = ref.tag();
                tagChars += tag->title().size() + tag->artist().size() + tag->album().size()
                    + tag->year();
            }
        }
        return clock.nsecsElapsed() / 1e6;
    };
    auto median3 = [&](bool tags) {
        double runs[3] = {readAll(tags), readAll(tags), readAll(tags)};
        std::sort(runs, runs + 3);
        return runs[1];
    };
    const double bare = median3(false);
    const double withTags = median3(true);

    QElapsedTimer timer;
    vurnSettings::setStateDirectoryOverride(stateDir.path());
    timer.start();
    MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 3;
    const double shown = timer.nsecsElapsed() / 1e6;
    // The window shows first; the rows arrive while the event loop turns.
    while (window.loader->isBusy())
        QTest::qWait(2);
    const double startup = timer.nsecsElapsed() / 1e6;
    const int rows = window.findChild<QTableView *>(QStringLiteral("playListTable"))->model()->rowCount();

    std::printf("startup: window shown in %.0f ms, %d tracks restored in %.0f ms; bare TagLib loop %.0f ms "
                "(ratio %.2f), with the four tags %.0f ms (ratio %.2f)\n",
                shown, rows, startup, bare, startup / bare, withTags, startup / withTags);
    // Closing saves the state with each file's size and time; the next start
    // rebuilds unchanged tracks from those instead of reading the files.
    window.close();
    timer.restart();
    MainWindow stamped;
    stamped.show();
    if (!QTest::qWaitForWindowExposed(&stamped))
        return 3;
    const double shownAgain = timer.nsecsElapsed() / 1e6;
    while (stamped.loader->isBusy())
        QTest::qWait(2);
    const double again = timer.nsecsElapsed() / 1e6;
    const int rowsAgain = stamped.findChild<QTableView *>(QStringLiteral("playListTable"))->model()->rowCount();
    std::printf("startup with the saved stamps: window shown in %.0f ms, %d tracks restored in %.0f ms "
                "(ratio %.2f to the bare TagLib loop)\n",
                shownAgain, rowsAgain, again, again / bare);
    if (rowsAgain != count)
        return 2;

    // The same list as a saved playlist, loaded from the settings window's
    // tab in place of the list: the same stamps, so the same work as the start.
    if (!playlistStore::save(QStringLiteral("bench"), playlistStore::toStored(stamped.core->tracks())))
        return 5;
    timer.restart();
    stamped.loadStoredList(playlistStore::entries(QStringLiteral("bench")), false);
    stamped.loader->finishNow();
    const double loaded = timer.nsecsElapsed() / 1e6;
    const int rowsLoaded = stamped.findChild<QTableView *>(QStringLiteral("playListTable"))->model()->rowCount();
    std::printf("loading the same %d tracks as a saved playlist: %.0f ms (ratio %.2f to the start with the "
                "saved stamps)\n",
                rowsLoaded, loaded, loaded / again);
    if (rowsLoaded != count)
        return 2;
    if (lengths == 0 && tagChars < 0)
        return 4; // keeps the reads from being optimised away
    return rows == count ? 0 : 2;
}
