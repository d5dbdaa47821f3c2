// The tab of saved playlists and the store behind it: names in natural order,
// contents and totals, load and append, overwrite and delete with their
// questions answered both ways, rename carrying the alarms along, and files
// that are damaged or name missing tracks.
#include "alarm/alarmlist.h"
#include "alarm/alarmone.h"
#include "playlist/vurncore.h"
#include "settings/playlisttab.h"
#include "settings/setwindow.h"
#include "storage/playliststore.h"
#include "storage/vurnsettings.h"
#include "support/audiofixtures.h"
#include "support/modalanswerer.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(QList<storedTrack>)

class tst_PlaylistTab : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void namesInNaturalOrder();
    void contentsAndTotals();
    void loadAndAppend();
    void overwriteAsksFirst();
    void savesTheListAsAsked_data();
    void savesTheListAsAsked();
    void deleteSaysAlarmsFallBack_data();
    void deleteSaysAlarmsFallBack();
    void renameCarriesAlarmsAlong();
    void renameRefusals_data();
    void renameRefusals();
    void damagedFiles();
    void exportForOtherPlayers();

private:
    template <typename T> T *child(const char *name) { return window->findChild<T *>(QLatin1String(name)); }
    void click(const char *name) { child<QPushButton>(name)->click(); }
    QStringList listed();
    void saveAs(const QString &name, int tracks);
    void openWithAlarmNaming(const QString &playlist);

    std::unique_ptr<AudioFixtures> fixtures;
    std::unique_ptr<QTemporaryDir> state;
    QStringList audio;
    vurnCore *player = nullptr;
    setWindow *window = nullptr;
};

void tst_PlaylistTab::initTestCase()
{
    qRegisterMetaType<QList<storedTrack>>();
    fixtures = std::make_unique<AudioFixtures>();
    for (int i = 0; i < 3; ++i)
        audio << fixtures->make(QStringLiteral("t%1.wav").arg(i), 1000 * (i + 1),
                                TrackTags{QStringLiteral("曲%1").arg(i), QStringLiteral("歌手"), QString(), 0});
    QVERIFY(!audio.contains(QString()));
}

void tst_PlaylistTab::init()
{
    state = std::make_unique<QTemporaryDir>();
    vurnSettings::setStateDirectoryOverride(state->path());
    player = new vurnCore;
    window = new setWindow;
    window->setPlayerCore(player);
}

void tst_PlaylistTab::cleanup()
{
    delete window;
    delete player;
    vurnSettings::setStateDirectoryOverride(QString());
    state.reset();
}

QStringList tst_PlaylistTab::listed()
{
    QStringList names;
    auto *list = child<QListWidget>("playlistlist");
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

void tst_PlaylistTab::saveAs(const QString &name, int tracks)
{
    player->clearTracks();
    player->addFiles(audio.mid(0, tracks));
    QVERIFY(playlistStore::save(name, playlistStore::toStored(player->tracks())));
}

void tst_PlaylistTab::openWithAlarmNaming(const QString &playlist)
{
    auto *list = new alarmList;
    for (const QString &name : {playlist, QStringLiteral("標準プレイリスト")}) {
        auto *alarm = new alarmOne(list);
        alarm->hour = QStringLiteral("07");
        alarm->minute = QStringLiteral("00");
        alarm->playListName = name;
        list->append(alarm);
    }
    window->setAlarmList(list);
    window->refreshPlaylists();
    window->show();
    window->refreshAlarmTable();
}

void tst_PlaylistTab::namesInNaturalOrder()
{
    for (const char *name : {"10", "2", "朝", "b", "A", "1"})
        saveAs(QString::fromUtf8(name), 1);
    QVERIFY(playlistStore::save(playlistStore::asideName(), {}));
    window->refreshPlaylists();
    QCOMPARE(listed(), (QStringList{"1", "2", "10", "A", "b", "朝"}));
    // The alarms offer them after the standard list.
    QCOMPARE(alarmList::playListItems(),
             (QStringList{"標準プレイリスト", "1", "2", "10", "A", "b", "朝"}));
}

void tst_PlaylistTab::contentsAndTotals()
{
    saveAs(QStringLiteral("朝"), 3);
    window->refreshPlaylists();
    window->playlists->select(QStringLiteral("朝"));
    auto *contents = child<QListWidget>("playlist_contents");
    QCOMPARE(contents->count(), 3);
    QCOMPARE(contents->item(0)->text(), QStringLiteral("曲0 - 歌手 (00:01)"));
    QCOMPARE(contents->item(2)->text(), QStringLiteral("曲2 - 歌手 (00:03)"));
    QCOMPARE(child<QLabel>("label_allcount")->text(), QStringLiteral("3 曲"));
    QCOMPARE(child<QLabel>("label_alltime")->text(), QStringLiteral("00:06"));
    // Nothing chosen counts nothing: no placeholder digits of the form.
    window->playlists->select(QString());
    QCOMPARE(child<QLabel>("label_allcount")->text(), QString());
    QCOMPARE(child<QLabel>("label_alltime")->text(), QString());
    saveAs(QStringLiteral("空"), 0);
    window->refreshPlaylists();
    window->playlists->select(QStringLiteral("空"));
    QCOMPARE(child<QLabel>("label_allcount")->text(), QStringLiteral("0 曲"));
    QCOMPARE(child<QLabel>("label_alltime")->text(), QStringLiteral("00:00"));
}

void tst_PlaylistTab::loadAndAppend()
{
    saveAs(QStringLiteral("二曲"), 2);
    window->refreshPlaylists();
    QSignalSpy loads(window->playlists, &playlistTab::loadRequested);
    // Nothing selected: told, nothing loaded.
    {
        ModalAnswerer answerer(QMessageBox::Ok);
        answerer.arm();
        click("load_button");
        QVERIFY(answerer.waitAnswered());
        QCOMPARE(loads.count(), 0);
    }
    window->playlists->select(QStringLiteral("二曲"));
    click("load_button");
    click("append_button");
    QCOMPARE(loads.count(), 2);
    QCOMPARE(loads.at(0).at(1).toBool(), false);
    QCOMPARE(loads.at(1).at(1).toBool(), true);
    const auto tracks = loads.at(0).at(0).value<QList<storedTrack>>();
    QCOMPARE(tracks.size(), 2);
    QCOMPARE(tracks.at(1).file, audio.at(1));
    // Stamped: an unchanged file need not be read again.
    QVERIFY(tracks.at(1).size > 0 && tracks.at(1).modified > 0);
}

void tst_PlaylistTab::overwriteAsksFirst()
{
    saveAs(QStringLiteral("夜"), 3);
    player->clearTracks();
    player->addFiles({audio.at(2)});
    window->refreshPlaylists();
    window->playlists->select(QStringLiteral("夜"));
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        ModalAnswerer answerer(answer);
        answerer.arm();
        click("overwrite_save_button");
        QVERIFY(answerer.waitAnswered());
        QCOMPARE(answerer.icon, QMessageBox::Question);
        QCOMPARE(playlistStore::entries(QStringLiteral("夜")).size(), answer == QMessageBox::No ? 3 : 1);
    }
    QCOMPARE(child<QLabel>("label_allcount")->text(), QStringLiteral("1 曲"));
}

// The question runs the event loop; an alarm putting its own playlist in
// place of the list meanwhile must not change what the person saves. Entries
// of an add still under way are saved after the rows.
void tst_PlaylistTab::savesTheListAsAsked_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("overwrite") << "overwrite_save_button";
    QTest::newRow("save under a name that exists") << "new_save_button";
}

void tst_PlaylistTab::savesTheListAsAsked()
{
    QFETCH(QString, button);
    saveAs(QStringLiteral("夜"), 1);
    player->clearTracks();
    player->addFiles({audio.at(0), audio.at(1)});
    window->playlists->stillComing = [this] { return musicInfo::entriesFor({audio.at(2)}); };
    window->refreshPlaylists();
    window->playlists->select(QStringLiteral("夜"));
    child<QLineEdit>("playlist_add_name")->setText(QStringLiteral("夜"));
    bool replaced = false;
    QTimer inside;
    connect(&inside, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || replaced)
            return;
        replaced = true;
        player->clearTracks();
        player->addFiles({audio.at(1)});
        box->button(QMessageBox::Yes)->click();
    });
    inside.start(20);
    child<QPushButton>(qPrintable(button))->click();
    QVERIFY(replaced);
    QStringList saved;
    for (const storedTrack &track : playlistStore::entries(QStringLiteral("夜")))
        saved << track.file;
    QCOMPARE(saved, audio);
}

void tst_PlaylistTab::deleteSaysAlarmsFallBack_data()
{
    QTest::addColumn<QString>("alarmPlaylist");
    QTest::addColumn<bool>("mentionsAlarms");
    QTest::newRow("an alarm names it") << "朝" << true;
    QTest::newRow("no alarm names it") << "標準プレイリスト" << false;
}

void tst_PlaylistTab::deleteSaysAlarmsFallBack()
{
    QFETCH(QString, alarmPlaylist);
    QFETCH(bool, mentionsAlarms);
    saveAs(QStringLiteral("朝"), 1);
    openWithAlarmNaming(alarmPlaylist);
    window->playlists->select(QStringLiteral("朝"));
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        ModalAnswerer answerer(answer);
        answerer.arm();
        click("delete_button");
        QVERIFY(answerer.waitAnswered());
        QCOMPARE(answerer.text.contains(QStringLiteral("標準プレイリストで鳴ります")), mentionsAlarms);
        QCOMPARE(playlistStore::exists(QStringLiteral("朝")), answer == QMessageBox::No);
    }
    QCOMPARE(listed(), QStringList());
}

void tst_PlaylistTab::renameCarriesAlarmsAlong()
{
    saveAs(QStringLiteral("朝"), 2);
    openWithAlarmNaming(QStringLiteral("朝"));
    window->playlists->select(QStringLiteral("朝"));
    child<QLineEdit>("playlist_add_name")->setText(QStringLiteral("平日の朝"));
    QSignalSpy changed(window, &setWindow::alarmsChanged);
    click("rename_button");
    QCOMPARE(listed(), QStringList{QStringLiteral("平日の朝")});
    QCOMPARE(window->playlists->selectedName(), QStringLiteral("平日の朝"));
    QCOMPARE(playlistStore::entries(QStringLiteral("平日の朝")).size(), 2);
    QVERIFY(!playlistStore::exists(QStringLiteral("朝")));
    QCOMPARE(window->currentAlarmList()->at(0)->playListName, QStringLiteral("平日の朝"));
    QCOMPARE(window->currentAlarmList()->at(1)->playListName, QStringLiteral("標準プレイリスト"));
    auto *table = child<QTableWidget>("alarmListTable");
    QCOMPARE(qobject_cast<QComboBox *>(table->cellWidget(0, 10))->currentText(), QStringLiteral("平日の朝"));
    QCOMPARE(changed.count(), 1);
}

void tst_PlaylistTab::renameRefusals_data()
{
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("why");
    QTest::newRow("a name in use") << "夜" << "プレイリスト「夜」はすでにあります。";
    QTest::newRow("a path") << "../夜" << "名前に「/」や「\\」は使えません。";
    QTest::newRow("empty") << "" << "名前が空です。";
}

void tst_PlaylistTab::renameRefusals()
{
    QFETCH(QString, to);
    QFETCH(QString, why);
    saveAs(QStringLiteral("朝"), 1);
    saveAs(QStringLiteral("夜"), 2);
    window->refreshPlaylists();
    window->playlists->select(QStringLiteral("朝"));
    child<QLineEdit>("playlist_add_name")->setText(to);
    ModalAnswerer answerer(QMessageBox::Ok);
    answerer.arm();
    click("rename_button");
    QVERIFY(answerer.waitAnswered());
    QCOMPARE(answerer.text, why);
    QCOMPARE(listed(), (QStringList{"夜", "朝"}));
    QCOMPARE(playlistStore::entries(QStringLiteral("夜")).size(), 2);
}

void tst_PlaylistTab::damagedFiles()
{
    QVERIFY(QDir().mkpath(playlistStore::folder()));
    const auto writeRaw = [](const QString &name, const QByteArray &bytes) {
        QFile file(playlistStore::filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    // Not INI at all; cut off in the middle; thousands of missing files;
    // written by an earlier version (no stamps).
    QVERIFY(writeRaw(QStringLiteral("binary"), QByteArray("\x00\x01\x02\xff\xfe[[[=", 9)));
    QVERIFY(writeRaw(QStringLiteral("truncated"), QByteArray("[0]\nFile=/music/a.mp3\nTitle=A\n[1]\nFile=/mus")));
    QByteArray many;
    for (int i = 0; i < 3000; ++i)
        many += QStringLiteral("[%1]\nFile=/nowhere/%1.mp3\nTitle=T%1\nTime=1000\n").arg(i).toUtf8();
    QVERIFY(writeRaw(QStringLiteral("missing"), many));
    QVERIFY(writeRaw(QStringLiteral("old"), ("[0]\nFile=" + audio.at(0).toUtf8()
                                             + "\nTime=1000\nTitle=古い\nArtist=歌手\n[General]\nVersion=0.3.4\n")));
    window->refreshPlaylists();
    QCOMPARE(listed(), (QStringList{"binary", "missing", "old", "truncated"}));
    window->playlists->select(QStringLiteral("binary"));
    QCOMPARE(child<QListWidget>("playlist_contents")->count(), 0);
    window->playlists->select(QStringLiteral("truncated"));
    QCOMPARE(child<QListWidget>("playlist_contents")->count(), 2);
    window->playlists->select(QStringLiteral("missing"));
    auto *contents = child<QListWidget>("playlist_contents");
    QCOMPARE(contents->count(), 3000);
    QCOMPARE(contents->item(2999)->text(), QStringLiteral("［見つかりません］T2999 (00:01)"));
    window->playlists->select(QStringLiteral("old"));
    QCOMPARE(contents->item(0)->text(), QStringLiteral("古い - 歌手 (00:01)"));
}

void tst_PlaylistTab::exportForOtherPlayers()
{
    saveAs(QStringLiteral("朝"), 2);
    window->refreshPlaylists();
    window->playlists->select(QStringLiteral("朝"));
    const QString target = state->filePath(QStringLiteral("朝.m3u8"));
    window->playlists->askExportPath = [&target] { return target; };
    click("export_button");
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.startsWith(QStringLiteral("#EXTM3U\n#EXTINF:1,歌手 - 曲0\n")));
    QVERIFY(text.contains(audio.at(1)));
}

QTEST_MAIN(tst_PlaylistTab)
#include "tst_playlisttab.moc"
