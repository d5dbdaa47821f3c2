// The settings window's read-me and web page buttons: the shipped files are
// opened through the desktop, and a missing read-me is told.
#include "alarm/alarm_set_window.h"
#include "alarm/alarmlist.h"
#include "alarm/alarmone.h"
#include "playlist/vurncore.h"
#include "settings/setwindow.h"
#include "storage/vurnsettings.h"
#include "support/audiofixtures.h"
#include "support/modalanswerer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QStyle>
#include <QTest>
#include <QUrl>

#include <memory>

// Stands in for the desktop: records the URLs the window asks to open.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

class tst_SetWindowHelp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void readmeMissing();
    void readmeAndWebOpenShippedFiles_data();
    void readmeAndWebOpenShippedFiles();

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
    // Puts alarms with the given hours into the working list and shows the window.
    void openWith(const QStringList &hours);
    QStringList tableHours();
    QStringList listHours();
    void selectRows(int top, int bottom);

    std::unique_ptr<AudioFixtures> fixtures;
    QStringList audio;
    std::unique_ptr<QTemporaryDir> state;
    vurnCore *player = nullptr;
    setWindow *window = nullptr;
    UrlRecorder urls;
};

void tst_SetWindowHelp::initTestCase()
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
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &urls, "open");
}

void tst_SetWindowHelp::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    vurnSettings::setStateDirectoryOverride(QString());
}

void tst_SetWindowHelp::init()
{
    state = std::make_unique<QTemporaryDir>();
    QVERIFY(state->isValid());
    vurnSettings::setStateDirectoryOverride(state->path());
    player = new vurnCore;
    window = new setWindow;
    window->setPlayerCore(player);
    urls.opened.clear();
}

void tst_SetWindowHelp::cleanup()
{
    delete window;
    window = nullptr;
    delete player;
    player = nullptr;
    state.reset();
}

void tst_SetWindowHelp::openWith(const QStringList &hours)
{
    auto *list = new alarmList;
    for (const QString &hour : hours) {
        auto *alarm = new alarmOne(list);
        alarm->enabled = true;
        alarm->hour = hour;
        alarm->minute = QStringLiteral("00");
        list->append(alarm);
    }
    window->setAlarmList(list);
    window->setTrackList(player->tracks());
    window->show();
    window->refreshAlarmTable();
}

QStringList tst_SetWindowHelp::tableHours()
{
    auto *table = child<QTableWidget>("alarmListTable");
    QStringList hours;
    for (int row = 0; row < table->rowCount(); ++row)
        hours << qobject_cast<QComboBox *>(table->cellWidget(row, 1))->currentText();
    return hours;
}

QStringList tst_SetWindowHelp::listHours()
{
    QStringList hours;
    for (const alarmOne *alarm : *window->currentAlarmList())
        hours << alarm->hour;
    return hours;
}

void tst_SetWindowHelp::selectRows(int top, int bottom)
{
    auto *table = child<QTableWidget>("alarmListTable");
    table->setRangeSelected(QTableWidgetSelectionRange(top, 0, bottom, table->columnCount() - 1), true);
}

void tst_SetWindowHelp::readmeMissing()
{
    const QString readme = QCoreApplication::applicationDirPath() + QStringLiteral("/Vurn.txt");
    if (QFile::exists(readme))
        QSKIP("a Vurn.txt lies beside the test executable");
    openWith({});
    ModalAnswerer answerer(QMessageBox::Ok);
    answerer.arm();
    click("readmeButton");
    QVERIFY(answerer.answered);
    QCOMPARE(answerer.title, QStringLiteral("read meオープンエラー"));
    QCOMPARE(answerer.text,
             QStringLiteral("Vurn.txtを表示できません。Vurn.exeと同じフォルダにありません。"));
    QCOMPARE(answerer.icon, QMessageBox::Warning);
    QVERIFY(urls.opened.isEmpty());
}

void tst_SetWindowHelp::readmeAndWebOpenShippedFiles_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("beside the executable") << QString();
    QTest::newRow("installed in share/vurn") << QStringLiteral("/../share/vurn");
}

void tst_SetWindowHelp::readmeAndWebOpenShippedFiles()
{
    QFETCH(QString, folder);
    const QString programDir = QCoreApplication::applicationDirPath();
    QDir().mkpath(programDir + folder);
    const QString dir = QFileInfo(programDir + folder).canonicalFilePath();
    QStringList made;
    for (const char *name : {"Vurn.txt", "Vurn.html"}) {
        const QString path = dir + QLatin1Char('/') + QLatin1String(name);
        // Only where the build has not put the real ones.
        if (QFile::exists(path) || QFile::exists(programDir + QLatin1Char('/') + QLatin1String(name)))
            continue;
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Vurn\n");
        made << path;
    }
    openWith({});
    ModalAnswerer answerer(QMessageBox::Ok, 500);
    answerer.arm();
    click("readmeButton");
    click("webButton");
    for (const QString &path : made)
        QFile::remove(path);
    QCOMPARE(answerer.count, 0);
    QCOMPARE(urls.opened.size(), 2);
    for (const QUrl &url : urls.opened)
        QVERIFY(url.isLocalFile());
    QCOMPARE(QFileInfo(urls.opened.at(0).toLocalFile()).fileName(), QStringLiteral("Vurn.txt"));
    QCOMPARE(QFileInfo(urls.opened.at(1).toLocalFile()).fileName(), QStringLiteral("Vurn.html"));
    if (!made.isEmpty())
        QCOMPARE(QFileInfo(urls.opened.at(0).toLocalFile()).absolutePath(), dir);
}

QTEST_MAIN(tst_SetWindowHelp)
#include "tst_setwindowhelp.moc"
