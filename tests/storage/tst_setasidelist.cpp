// The list set aside for "戻す": what is kept, why, and how many tracks
// survive a restart; the file an earlier version left for an alarm still
// comes back, and is gone once swapped.
#include "storage/playliststore.h"
#include "storage/setasidelist.h"
#include "support/statedir.h"

#include <QFileInfo>
#include <QTest>

Q_DECLARE_METATYPE(setAsideCause)

namespace {
QList<storedTrack> listOf(const QStringList &files)
{
    QList<storedTrack> tracks;
    for (const QString &file : files) {
        storedTrack track;
        track.file = file;
        tracks << track;
    }
    return tracks;
}

QStringList filesOf(const QList<storedTrack> &tracks)
{
    QStringList files;
    for (const storedTrack &track : tracks)
        files << track.file;
    return files;
}
} // namespace

class tst_SetAsideList : public QObject
{
    Q_OBJECT
private slots:
    void keptAcrossARestart_data();
    void keptAcrossARestart();
    void earlierVersionsFileComesBack();
};

void tst_SetAsideList::keptAcrossARestart_data()
{
    QTest::addColumn<setAsideCause>("cause");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("tip");
    const QStringList two{"/music/a.mp3", "/music/b.mp3"};
    QTest::newRow("alarm") << setAsideCause::Alarm << QString() << two
                           << "アラームが鳴らす前のプレイリスト（2 曲）に戻します";
    QTest::newRow("load") << setAsideCause::Load << "夜 2" << two
                          << "「夜 2」を読み込む前のプレイリスト（2 曲）に戻します";
    QTest::newRow("clear") << setAsideCause::Clear << QString() << QStringList{"/music/c.mp3"}
                           << "クリアする前のプレイリスト（1 曲）に戻します";
    QTest::newRow("restore, empty") << setAsideCause::Restore << QString() << QStringList()
                                    << "「戻す」の前の空のプレイリストに戻します";
}

void tst_SetAsideList::keptAcrossARestart()
{
    QFETCH(setAsideCause, cause);
    QFETCH(QString, name);
    QFETCH(QStringList, files);
    QFETCH(QString, tip);
    StateDir state;
    {
        setAsideList fresh;
        QVERIFY(!fresh.has());
        QCOMPARE(fresh.description(), QStringLiteral("戻せるプレイリストはありません"));
        QVERIFY(fresh.keep(listOf(files), cause, name));
        QCOMPARE(fresh.description(), tip);
    }
    setAsideList again;
    QVERIFY(again.has());
    QCOMPARE(again.cause(), cause);
    QCOMPARE(again.loadedName(), name);
    QCOMPARE(again.count(), files.size());
    QCOMPARE(again.description(), tip);
    QCOMPARE(filesOf(again.swap({})), files);
    // Not a saved playlist the person sees.
    QVERIFY(playlistStore::names().isEmpty());
}

void tst_SetAsideList::earlierVersionsFileComesBack()
{
    StateDir state;
    const QStringList person{"/music/mine0.mp3", "/music/mine1.mp3"};
    // As the earlier version kept the person's list while an alarm played its own.
    QVERIFY(playlistStore::save(playlistStore::asideName(), listOf(person)));
    setAsideList list;
    QVERIFY(list.has());
    QCOMPARE(list.cause(), setAsideCause::Alarm);
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.description(), QStringLiteral("アラームが鳴らす前のプレイリスト（2 曲）に戻します"));
    QCOMPARE(filesOf(list.swap(listOf({QStringLiteral("/music/morning.mp3")}))), person);
    QVERIFY(!QFileInfo::exists(playlistStore::filePath(playlistStore::asideName())));
    setAsideList afterRestart;
    QCOMPARE(afterRestart.cause(), setAsideCause::Restore);
    QCOMPARE(filesOf(afterRestart.swap({})), QStringList{"/music/morning.mp3"});
}

QTEST_MAIN(tst_SetAsideList)
#include "tst_setasidelist.moc"
