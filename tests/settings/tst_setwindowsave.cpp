// The settings window's playlist tab saving the current playlist under a
// name: what the file holds, the names it refuses, replacing a longer list,
// and the button reached with Tab.
#include "alarm/alarmlist.h"
#include "playlist/vurncore.h"
#include "settings/setwindow.h"
#include "storage/vurnsettings.h"
#include "support/audiofixtures.h"
#include "support/inisnapshot.h"
#include "support/modalanswerer.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class tst_SetWindowSave : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void savePlaylist_data();
    void savePlaylist();
    void saveRefusesNamesOutsideFolder_data();
    void saveRefusesNamesOutsideFolder();
    void saveOverLongerListKeepsLaterGroups();
    void saveButtonReachableWithTab();

private:
    template<typename T>
    T *child(const char *name)
    {
        T *found = window->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }
    void click(const char *button) { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }
    // Shows the window with no alarms and the player's tracks.
    void showWindow();
    QString playlistFile(const QString &name) const;

    std::unique_ptr<AudioFixtures> fixtures;
    QStringList audio;
    std::unique_ptr<QTemporaryDir> state;
    vurnCore *player = nullptr;
    setWindow *window = nullptr;
};

void tst_SetWindowSave::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    for (int i = 0; i < 5; ++i) {
        TrackTags tags;
        tags.title = QStringLiteral("曲%1").arg(i);
        tags.artist = QStringLiteral("歌手");
        tags.album = QStringLiteral("アルバム");
        // Whole seconds: the tag reader refuses files shorter than one.
        const QString path =
            fixtures->make(QStringLiteral("track%1.wav").arg(i), 1000 * (i + 1), tags);
        QVERIFY(!path.isEmpty());
        audio << path;
    }
}

void tst_SetWindowSave::cleanupTestCase()
{
    vurnSettings::setStateDirectoryOverride(QString());
}

void tst_SetWindowSave::init()
{
    state = std::make_unique<QTemporaryDir>();
    QVERIFY(state->isValid());
    vurnSettings::setStateDirectoryOverride(state->path());
    player = new vurnCore;
    window = new setWindow;
    window->setPlayerCore(player);
}

void tst_SetWindowSave::cleanup()
{
    delete window;
    window = nullptr;
    delete player;
    player = nullptr;
    state.reset();
}

void tst_SetWindowSave::showWindow()
{
    window->setAlarmList(new alarmList);
    window->setTrackList(player->tracks());
    window->show();
    window->refreshAlarmTable();
}

QString tst_SetWindowSave::playlistFile(const QString &name) const
{
    return state->path() + QStringLiteral("/playlists/") + name + QStringLiteral(".ini");
}

void tst_SetWindowSave::savePlaylist_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("tracks");
    QTest::newRow("japanese name") << QStringLiteral("朝の曲") << 2;
    QTest::newRow("empty playlist") << QStringLiteral("空") << 0;
    QTest::newRow("spaces kept") << QStringLiteral(" a b ") << 1;
}

void tst_SetWindowSave::savePlaylist()
{
    QFETCH(QString, name);
    QFETCH(int, tracks);
    player->addFiles(audio.mid(0, tracks));
    showWindow();
    child<QLineEdit>("playlist_add_name")->setText(name);
    ModalAnswerer answerer(QMessageBox::Ok, 500);
    answerer.arm();
    click("new_save_button");
    QCOMPARE(answerer.count, 0);

    const QString path = playlistFile(name);
    QVERIFY2(QFile::exists(path), qPrintable(path));
    QSettings saved(IniSnapshot::of(path), QSettings::IniFormat);
    saved.setIniCodec("UTF-8");
    QStringList groups = saved.childGroups();
    groups.removeAll(QStringLiteral("General"));
    QCOMPARE(groups.size(), tracks);
    for (int i = 0; i < tracks; ++i) {
        saved.beginGroup(QString::number(i));
        QCOMPARE(saved.value(QStringLiteral("File")).toString(), audio.at(i));
        QCOMPARE(saved.value(QStringLiteral("Title")).toString(), QStringLiteral("曲%1").arg(i));
        QCOMPARE(saved.value(QStringLiteral("Artist")).toString(), QStringLiteral("歌手"));
        saved.endGroup();
    }
    QFile raw(path);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    QVERIFY(raw.readAll().contains("Version=0.3.4"));
    // The name field and the playlist stay as they were.
    QCOMPARE(child<QLineEdit>("playlist_add_name")->text(), name);
    QCOMPARE(player->tracks().size(), tracks);
    QCOMPARE(child<QTabWidget>("tabWidget")->currentIndex(), 0);
}

void tst_SetWindowSave::saveRefusesNamesOutsideFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("why");
    const QString separators = QStringLiteral("名前に「/」や「\\」は使えません。");
    QTest::newRow("two up") << QStringLiteral("../../x") << separators;
    QTest::newRow("one up") << QStringLiteral("../x") << separators;
    QTest::newRow("down and out") << QStringLiteral("a/../../x") << separators;
    QTest::newRow("subfolders") << QStringLiteral("週末/日曜/夜") << separators;
    QTest::newRow("backslash") << QStringLiteral("a\\b") << separators;
    QTest::newRow("dot dot") << QStringLiteral("..") << QStringLiteral("「.」で始まる名前は使えません。");
    QTest::newRow("empty") << QString() << QStringLiteral("名前が空です。");
    QTest::newRow("spaces") << QStringLiteral("   ") << QStringLiteral("名前が空です。");
    QTest::newRow("a line break") << QStringLiteral("a\nb") << QStringLiteral("名前に制御文字は使えません。");
}

void tst_SetWindowSave::saveRefusesNamesOutsideFolder()
{
    QFETCH(QString, name);
    QFETCH(QString, why);
    // A folder of our own two levels down, so "../../x" still lands inside the
    // temporary folder where the test can look for it.
    const QString root = state->path();
    const QString stateDir = root + QStringLiteral("/one/two");
    QVERIFY(QDir().mkpath(stateDir));
    vurnSettings::setStateDirectoryOverride(stateDir);

    player->addFiles(audio.mid(0, 2));
    showWindow();
    child<QLineEdit>("playlist_add_name")->setText(name);
    ModalAnswerer answerer(QMessageBox::Ok);
    answerer.arm();
    click("new_save_button");
    QVERIFY(answerer.answered);
    QCOMPARE(answerer.title, QStringLiteral("プレイリスト保存エラー"));
    QCOMPARE(answerer.text, why);
    QCOMPARE(answerer.icon, QMessageBox::Warning);

    QStringList written;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        written << it.next();
    QVERIFY2(written.isEmpty(), qPrintable(written.join(", ")));
}

void tst_SetWindowSave::saveOverLongerListKeepsLaterGroups()
{
    // Saving under a name in use asks first; yes replaces the whole file, so
    // no entry of the longer list is left behind.
    const QString name = QStringLiteral("上書き");
    player->addFiles(audio);
    showWindow();
    child<QLineEdit>("playlist_add_name")->setText(name);
    click("new_save_button");

    player->clearTracks();
    player->addFiles({audio.at(4), audio.at(3)});
    const auto groupsSaved = [&] {
        QSettings saved(IniSnapshot::of(playlistFile(name)), QSettings::IniFormat);
        saved.setIniCodec("UTF-8");
        QStringList files;
        for (int i = 0; saved.contains(QString::number(i) + QStringLiteral("/File")); ++i)
            files << saved.value(QString::number(i) + QStringLiteral("/File")).toString();
        return files;
    };
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        ModalAnswerer answerer(answer);
        answerer.arm();
        click("new_save_button");
        QVERIFY(answerer.waitAnswered());
        QCOMPARE(answerer.icon, QMessageBox::Question);
        if (answer == QMessageBox::No)
            QCOMPARE(groupsSaved(), audio.mid(0, 5));
    }
    QCOMPARE(groupsSaved(), (QStringList{audio.at(4), audio.at(3)}));
}

void tst_SetWindowSave::saveButtonReachableWithTab()
{
    player->addFiles(audio.mid(0, 1));
    showWindow();
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));

    // Nothing covers the tab: a click where the button is reaches it.
    auto *save = child<QPushButton>("new_save_button");
    auto *tab = child<QWidget>("playListListTab");
    const QPoint onButton = save->mapTo(tab, save->rect().center());
    QCOMPARE(tab->childAt(onButton), save);

    child<QLineEdit>("playlist_add_name")->setText(QStringLiteral("tab"));
    child<QPushButton>("load_button")->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), child<QWidget>("load_button"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), save);
    QTest::keyClick(save, Qt::Key_Space);
    QVERIFY(QFile::exists(playlistFile(QStringLiteral("tab"))));
}

QTEST_MAIN(tst_SetWindowSave)
#include "tst_setwindowsave.moc"
