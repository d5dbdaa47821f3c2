// What the player stores does not depend on the language it shows: the state
// a window writes in one language, read and written again by a window in the
// other, is the same file byte for byte, and holds the stored texts.
#include "alarm/alarmlist.h"
#include "alarm/alarmone.h"
#include "app/mainwindow.h"
#include "playlist/trackloader.h"
#include "playlist/vurncore.h"
#include "settings/setwindow.h"
#include "storage/vurnsettings.h"
#include "support/audiofixtures.h"
#include "support/languagerig.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

class tst_LanguageState : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void writtenInOneReadInOther_data();
    void writtenInOneReadInOther();

private:
    std::unique_ptr<MainWindow> start();
    QByteArray stateFile() const;
    QByteArray rewrittenIn(uiLanguage::Language shown, const QByteArray &state);
    static QList<QByteArray> withoutLayout(const QByteArray &state);

    std::unique_ptr<AudioFixtures> fixtures;
    std::unique_ptr<QTemporaryDir> stateDir;
    QStringList files;
};

void tst_LanguageState::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    for (int i = 0; i < 3; ++i)
        files << fixtures->make(QStringLiteral("t%1.wav").arg(i), 1000);
    QVERIFY(!files.contains(QString()));
}

void tst_LanguageState::init()
{
    stateDir = std::make_unique<QTemporaryDir>();
    vurnSettings::setStateDirectoryOverride(stateDir->path());
}

void tst_LanguageState::cleanup()
{
    vurnSettings::setStateDirectoryOverride(QString());
    stateDir.reset();
}

std::unique_ptr<MainWindow> tst_LanguageState::start()
{
    auto window = std::make_unique<MainWindow>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("window not exposed");
    QElapsedTimer waited;
    waited.start();
    while (window->loader->isBusy() && waited.elapsed() < 30000)
        QTest::qWait(10);
    return window;
}

QByteArray tst_LanguageState::stateFile() const
{
    QFile file(stateDir->filePath(QStringLiteral("Vurn.ini")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void tst_LanguageState::writtenInOneReadInOther_data()
{
    QTest::addColumn<bool>("writerEnglish");
    // The choosers' items as a person picks them: by place, whatever they say.
    QTest::addColumn<int>("modeAction");
    QTest::addColumn<int>("alarmMode");
    QTest::addColumn<int>("volume");
    QTest::addColumn<int>("fade");
    QTest::addColumn<QString>("storedMode");
    QTest::addColumn<QString>("storedAlarmMode");
    QTest::addColumn<QString>("storedVolume");
    QTest::addColumn<QString>("storedFade");
    QTest::newRow("English, then Japanese") << true << 5 << 8 << 12 << 7 << "シャッフル" << "リピートなし：2"
                                            << "55" << "フェードイン：7分";
    QTest::newRow("Japanese, then English") << false << 3 << 6 << 0 << 1 << "全曲リピート(<<)"
                                            << "リピートなし：ランダム" << "しない" << "フェードイン：1分";
    QTest::newRow("English, no fade") << true << 0 << 1 << 21 << 0 << "リピートなし" << "1曲リピート" << "100"
                                      << "しない";
}

void tst_LanguageState::writtenInOneReadInOther()
{
    QFETCH(bool, writerEnglish);
    QFETCH(int, modeAction);
    QFETCH(int, alarmMode);
    QFETCH(int, volume);
    QFETCH(int, fade);
    const uiLanguage::Language writer = writerEnglish ? uiLanguage::English : uiLanguage::Japanese;
    const uiLanguage::Language reader = writerEnglish ? uiLanguage::Japanese : uiLanguage::English;
    QByteArray written;
    {
        const LanguageRig language(writer);
        QVERIFY(language.isShown());
        auto window = start();
        window->core->addFiles(files);
        window->findChildren<QActionGroup *>().value(0)->actions().at(modeAction)->trigger();
        window->findChild<QAction *>(QStringLiteral("actionSettings"))->trigger();
        window->setWin->findChild<QPushButton *>(QStringLiteral("alarmAddButton"))->click();
        auto *table = window->setWin->findChild<QTableWidget *>(QStringLiteral("alarmListTable"));
        const int row = table->rowCount() - 1;
        const QList<QPair<int, int>> picks = {{11, alarmMode}, {14, volume}, {15, fade}};
        for (const auto &pick : picks) {
            auto *box = qobject_cast<QComboBox *>(table->cellWidget(row, pick.first));
            QVERIFY(box);
            QVERIFY(pick.second < box->count());
            box->setCurrentIndex(pick.second);
        }
        window->setWin->findChild<QPushButton *>(QStringLiteral("okButon"))->click();
        const alarmOne *alarm = window->setWin->currentAlarmList()->at(0);
        QTEST(alarm->playMode, "storedAlarmMode");
        QTEST(alarm->volume, "storedVolume");
        QTEST(alarm->volumeControl, "storedFade");
        QCOMPARE(alarm->playListName, QStringLiteral("標準プレイリスト"));
        QTEST(window->core->modeText, "storedMode");
        // Wide enough for either language's words, so the size stays as saved.
        window->resize(760, 520);
        QTRY_COMPARE(window->size(), QSize(760, 520));
        window->close();
        written = stateFile();
    }
    QFETCH(QString, storedMode);
    QVERIFY2(written.contains(storedMode.toUtf8()), written.constData());
    // Read and written again in the other language: the same bytes, line for
    // line, but for the window's drawn layout (its frame's place, and the
    // toolbars' heights, which follow the shown words' font).
    const QByteArray inReader = rewrittenIn(reader, written);
    QVERIFY(!inReader.isEmpty());
    QCOMPARE(withoutLayout(inReader), withoutLayout(written));
}

QByteArray tst_LanguageState::rewrittenIn(uiLanguage::Language shown, const QByteArray &state)
{
    QFile file(stateDir->filePath(QStringLiteral("Vurn.ini")));
    if (!file.open(QIODevice::WriteOnly) || file.write(state) != state.size())
        return QByteArray();
    file.close();
    const LanguageRig language(shown);
    if (!language.isShown())
        return QByteArray();
    auto window = start();
    // The alarm table rebuilt from the file and confirmed, as OK does.
    window->findChild<QAction *>(QStringLiteral("actionSettings"))->trigger();
    window->setWin->findChild<QPushButton *>(QStringLiteral("okButon"))->click();
    window->close();
    return stateFile();
}

QList<QByteArray> tst_LanguageState::withoutLayout(const QByteArray &state)
{
    QList<QByteArray> lines = state.split('\n');
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const QByteArray &line) {
                                   return line.startsWith("geometry=") || line.startsWith("windowState=");
                               }),
                lines.end());
    return lines;
}

QTEST_MAIN(tst_LanguageState)
#include "tst_languagestate.moc"
