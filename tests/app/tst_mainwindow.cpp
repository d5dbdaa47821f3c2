// The main window's shell: widget set, actions, toolbars, play-mode menu,
// one-time initialisation, timers, column widths and folding.
#include "app/mainwindow.h"
#include "player/musicplay.h"
#include "playlist/vurncore.h"
#include "storage/vurnsettings.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>
#include <QToolBar>

#include <memory>

class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void titleAndWindow();
    void actions_data();
    void actions();
    void toolbars();
    void playModeActions();
    void modeMenuPopsUpAndSelects();
    void modeSlotsAreExclusive_data();
    void modeSlotsAreExclusive();
    void applyModeByName_data();
    void applyModeByName();
    void secondShowBuildsNothing();
    void unknownTimerIdDoesNothing();
    void columnsAndSliders();
    void totalsReplacePlaceholders();
    void volumePercent_data();
    void volumePercent();
    void folding();
    void unfoldingFirstRestoresInitialHeight();

private:
    template <typename T> T *child(const char *name)
    {
        T *found = window->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no child named %s", name);
        return found;
    }

    std::unique_ptr<QTemporaryDir> stateDir;
    std::unique_ptr<MainWindow> window;
};

void tst_MainWindow::init()
{
    stateDir = std::make_unique<QTemporaryDir>();
    vurnSettings::setStateDirectoryOverride(stateDir->path());
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void tst_MainWindow::cleanup()
{
    window.reset();
    vurnSettings::setStateDirectoryOverride(QString());
    stateDir.reset();
}

void tst_MainWindow::titleAndWindow()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("Vurn -v0.3.4"));
    QCOMPARE(window->objectName(), QStringLiteral("MainWindow"));
    QCOMPARE(window->minimumSize(), QSize(250, 45));
    // The drawn size, or wider where the toolbars need it at the platform font.
    QCOMPARE(window->size().expandedTo(QSize(300, 400)), window->size());
    QCOMPARE(window->height(), 400);
    QVERIFY(window->acceptDrops());
    QCOMPARE(window->findChildren<QMenuBar *>().size(), 0);
    QCOMPARE(window->findChildren<QStatusBar *>().size(), 0);
}

void tst_MainWindow::actions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("shortcut");
    // actionMode shows the current play mode once the window is up.
    const char *rows[][4] = {
        {"actionPlay", "♪", "音楽の再生/停止を行います", "Ctrl+P"},
        // Ctrl+F finds in the playlist; folding it moved to Ctrl+L.
        {"actionFace", "▲", "プレイリストを開閉します", "Ctrl+L"},
        {"actionBack", "<", "1曲戻ります", "Ctrl+B"},
        {"actionNext", ">", "1曲進みます", "Ctrl+N"},
        {"actionMode", "全曲リピート(>>)", "現在の再生モードを確認/変更します", "Ctrl+M"},
        {"actionSettings", "Set", "設定画面を開きます", "Ctrl+S"},
        {"actionAdd", "Add", "プレイリストに曲を追加します", "Ctrl+A"},
        {"actionDel", "Del", "プレイリストから曲を削除します", "Ctrl+D"},
        {"actionClear", "Clear", "プレイリストを空にします", "Ctrl+C"},
        {"actionTop", "△", "現在選択中の曲をプレイリストの最上段に移動します", "Alt+Up"},
        {"actionUp", "↑", "現在選択中の曲を一段上に移動します", "Ctrl+Up"},
        {"actionDown", "↓", "現在選択中の曲を一段下に移動します", "Ctrl+Down"},
        {"actionBottom", "▽", "現在選択中の曲をプレイリストの最下段に移動します", "Alt+Down"},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << QString::fromUtf8(row[0]) << QString::fromUtf8(row[1])
                              << QString::fromUtf8(row[2]) << QString::fromUtf8(row[3]);
}

void tst_MainWindow::actions()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    QFETCH(QString, shortcut);
    auto *action = window->findChild<QAction *>(name);
    QVERIFY(action);
    QCOMPARE(action->parent(), window.get());
    QCOMPARE(action->text(), text);
    QCOMPARE(action->toolTip(), toolTip);
    QCOMPARE(action->shortcut(), QKeySequence(shortcut));
    QVERIFY(!action->isCheckable());
}

static QStringList toolbarContents(QToolBar *bar)
{
    QStringList names;
    const QList<QAction *> actions = bar->actions();
    for (QAction *action : actions)
        names << (action->isSeparator() ? QStringLiteral("|") : action->objectName());
    return names;
}

void tst_MainWindow::toolbars()
{
    auto *play = child<QToolBar>("playToolBar");
    auto *edit = child<QToolBar>("playlistToolBar");
    QCOMPARE(window->toolBarArea(play), Qt::TopToolBarArea);
    QCOMPARE(window->toolBarArea(edit), Qt::BottomToolBarArea);
    QCOMPARE(toolbarContents(play),
             QStringList({"actionFace", "|", "actionBack", "actionPlay", "actionPause", "actionNext", "|",
                          "actionMode", "|", "actionSleep", "actionSettings", "|"}));
    QCOMPARE(toolbarContents(edit),
             QStringList({"actionAdd", "actionDel", "actionClear", "|", "actionTop", "actionUp",
                          "actionDown", "actionBottom", "|", "actionRestoreList"}));
    QVERIFY(!play->isFloatable());
    QVERIFY(play->windowTitle().isEmpty());
    QCOMPARE(edit->windowTitle(), QStringLiteral("toolBar_2"));
    QCOMPARE(edit->styleSheet(), QStringLiteral("background-color: rgb(240, 240, 240)"));
}

static const QStringList modeTexts = {"リピートなし", "1曲リピート", "全曲リピート(>>)",
                                      "全曲リピート(<<)", "ランダム", "シャッフル",
                                      "リピートなし：ランダム"};

void tst_MainWindow::playModeActions()
{
    QVERIFY(window->modeGroup);
    QVERIFY(window->modeGroup->isExclusive());
    QStringList texts;
    const QList<QAction *> grouped = window->modeGroup->actions();
    for (QAction *action : grouped) {
        texts << action->text();
        QVERIFY(action->isCheckable());
        QCOMPARE(action->parent(), window.get());
    }
    QCOMPARE(texts, modeTexts);
    QCOMPARE(grouped.at(0), window->mode_action_non);
    QCOMPARE(grouped.at(3), window->mode_action_prev);
    // The controller starts in repeat-all forwards.
    QCOMPARE(window->modeGroup->checkedAction(), window->mode_action_next);
    QCOMPARE(window->core->modeText, QStringLiteral("全曲リピート(>>)"));
}

void tst_MainWindow::modeMenuPopsUpAndSelects()
{
    QStringList shown;
    bool popped = false;
    QTimer::singleShot(200, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        popped = true;
        const QList<QAction *> actions = menu->actions();
        for (QAction *action : actions)
            shown << action->text();
        QAction *shuffle = actions.value(5);
        menu->close();
        if (shuffle)
            shuffle->trigger();
    });
    child<QAction>("actionMode")->trigger();
    QVERIFY(popped);
    QCOMPARE(shown, modeTexts);
    QCOMPARE(window->core->modeText, QStringLiteral("シャッフル"));
    QCOMPARE(child<QAction>("actionMode")->text(), QStringLiteral("シャッフル"));
    QCOMPARE(window->modeGroup->checkedAction(), window->mode_action_shuffle);
}

void tst_MainWindow::modeSlotsAreExclusive_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < modeTexts.size(); ++i)
        QTest::newRow(qPrintable(modeTexts.at(i))) << i;
}

void tst_MainWindow::modeSlotsAreExclusive()
{
    QFETCH(int, index);
    QAction *action = window->modeGroup->actions().at(index);
    action->trigger();
    QCOMPARE(window->core->modeText, modeTexts.at(index));
    QCOMPARE(child<QAction>("actionMode")->text(), modeTexts.at(index));
    int checked = 0;
    const QList<QAction *> grouped = window->modeGroup->actions();
    for (QAction *each : grouped)
        checked += each->isChecked() ? 1 : 0;
    QCOMPARE(checked, 1);
    QVERIFY(action->isChecked());
    QCOMPARE(window->currentModeText(), modeTexts.at(index));
}

void tst_MainWindow::applyModeByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("checkedIndex");
    QTest::addColumn<QString>("coreMode");
    QTest::newRow("backwards") << "全曲リピート(<<)" << 3 << "全曲リピート(<<)";
    QTest::newRow("forwards") << "全曲リピート(>>)" << 2 << "全曲リピート(>>)";
    QTest::newRow("shuffle") << "シャッフル" << 5 << "シャッフル";
    QTest::newRow("one random") << "リピートなし：ランダム" << 6 << "リピートなし：ランダム";
    QTest::newRow("numbered") << "リピートなし：2" << 0 << "リピートなし：2";
    QTest::newRow("empty") << "" << 0 << "";
    QTest::newRow("other case") << "ﾗﾝﾀﾞﾑ" << 0 << "ﾗﾝﾀﾞﾑ";
}

void tst_MainWindow::applyModeByName()
{
    QFETCH(QString, name);
    QFETCH(int, checkedIndex);
    QFETCH(QString, coreMode);
    window->mode_action_rand->trigger();
    window->applyModeByName(name);
    QCOMPARE(window->core->modeText, coreMode);
    QCOMPARE(child<QAction>("actionMode")->text(), coreMode);
    QCOMPARE(window->modeGroup->checkedAction(), window->modeGroup->actions().at(checkedIndex));
    QCOMPARE(window->currentModeText(), modeTexts.at(checkedIndex));
}

void tst_MainWindow::secondShowBuildsNothing()
{
    vurnCore *core = window->core;
    QWidget *central = window->centralWidget();
    QActionGroup *group = window->modeGroup;
    // Qt adds private helper objects of its own on showing; count what we build.
    const int widgets = window->findChildren<QWidget *>().size();
    const int actions = window->findChildren<QAction *>().size();
    window->hide();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->showMinimized();
    window->showNormal();
    QCOMPARE(window->core, core);
    QCOMPARE(window->centralWidget(), central);
    QCOMPARE(window->modeGroup, group);
    QCOMPARE(window->findChildren<vurnCore *>().size(), 1);
    QCOMPARE(window->findChildren<QWidget *>().size(), widgets);
    QCOMPARE(window->findChildren<QAction *>().size(), actions);
}

void tst_MainWindow::unknownTimerIdDoesNothing()
{
    window->rampStep = 1.5;
    window->rampTarget = 90;
    window->rampLevel = 0.25;
    auto *time = child<QLabel>("musicTime");
    const QString before = time->text();
    QTimerEvent unknown(987654);
    QApplication::sendEvent(window.get(), &unknown);
    QCOMPARE(window->rampLevel, 0.25);
    QCOMPARE(window->rampStep, 1.5);
    QCOMPARE(time->text(), before);
    window->rampStep = 0;
}

void tst_MainWindow::columnsAndSliders()
{
    auto *table = child<QTableView>("playListTable");
    QCOMPARE(table->model()->columnCount(), 2);
    QCOMPARE(table->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("曲名"));
    QCOMPARE(table->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("時間"));
    QVERIFY(!table->verticalHeader()->isVisible());
    QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(table->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(table->selectionMode(), QAbstractItemView::ExtendedSelection);

    auto *volume = child<QSlider>("volumeSlider");
    QCOMPARE(volume->maximum(), 99);
    volume->setValue(150);
    QCOMPARE(volume->value(), 99);
    QVERIFY(child<QPushButton>("volButton")->minimumWidth() >= 40);
}

void tst_MainWindow::totalsReplacePlaceholders()
{
    QCOMPARE(child<QLabel>("totalNum")->text(), QStringLiteral("0 曲"));
    QCOMPARE(child<QLabel>("totalTime")->text(), QStringLiteral("00:00"));
    QCOMPARE(child<QLabel>("musicTitle")->text(), QStringLiteral("No : musicTitle"));
    QCOMPARE(child<QLabel>("musicTime")->text(), QStringLiteral("0:00 ／0:00"));
    // The stored default volume (70) moved the slider and the button.
    QCOMPARE(child<QSlider>("volumeSlider")->value(), 70);
    QCOMPARE(child<QPushButton>("volButton")->text(), QStringLiteral("vol:70"));
}

void tst_MainWindow::volumePercent_data()
{
    QTest::addColumn<double>("volume");
    QTest::addColumn<int>("percent");
    QTest::newRow("0.555 rounds up") << 0.555 << 56;
    QTest::newRow("0.5") << 0.5 << 50;
    QTest::newRow("0.07 stays 7") << 0.07 << 7;
    QTest::newRow("0.14 stays 14") << 0.14 << 14;
    QTest::newRow("0.28 stays 28") << 0.28 << 28;
    QTest::newRow("0.55 stays 55") << 0.55 << 55;
    QTest::newRow("0.56 stays 56") << 0.56 << 56;
    QTest::newRow("0.001 rounds up") << 0.001 << 1;
    QTest::newRow("0") << 0.0 << 0;
    QTest::newRow("1") << 1.0 << 100;
}

void tst_MainWindow::volumePercent()
{
    QFETCH(double, volume);
    QFETCH(int, percent);
    window->core->player->setVolume(volume);
    QCOMPARE(window->volumePercent(), percent);
}

void tst_MainWindow::folding()
{
    auto *face = child<QAction>("actionFace");
    window->resize(300, 400);
    QTRY_COMPARE(window->height(), 400);
    face->trigger();
    QTRY_VERIFY(window->height() < 200);
    QCOMPARE(face->text(), QStringLiteral("▼"));
    face->trigger();
    QTRY_COMPARE(window->height(), 400);
    QCOMPARE(face->text(), QStringLiteral("▲"));
    QCOMPARE(window->width(), 300);
}

void tst_MainWindow::unfoldingFirstRestoresInitialHeight()
{
    auto *face = child<QAction>("actionFace");
    window->resize(300, 100);
    QTRY_VERIFY(window->height() <= 125);
    face->trigger();
    QTRY_COMPARE(window->height(), 400); // the height recorded at start-up
    QCOMPARE(face->text(), QStringLiteral("▲"));
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
