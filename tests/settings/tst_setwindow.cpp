// The settings window: its form, the all-alarms switch, the alarm buttons with
// every refusal and question, ok / cancel / reset. The read-me and web page
// are tst_setwindowhelp, saving the current playlist tst_setwindowsave.
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

#include <memory>

class tst_SetWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void form();
    void switchDisablesAlarmWidgets();
    void switchOffBeforeFirstShow();
    void refusals_data();
    void refusals();
    void deleteTwoRangesAsksNothing();
    void deleteOnlyRowAsks_data();
    void deleteOnlyRowAsks();
    void clearThenOkCancelReset();
    void bulkDialogOpensWithTrackCount();

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
};

void tst_SetWindow::initTestCase()
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

void tst_SetWindow::cleanupTestCase()
{
    vurnSettings::setStateDirectoryOverride(QString());
}

void tst_SetWindow::init()
{
    state = std::make_unique<QTemporaryDir>();
    QVERIFY(state->isValid());
    vurnSettings::setStateDirectoryOverride(state->path());
    player = new vurnCore;
    window = new setWindow;
    window->setPlayerCore(player);
}

void tst_SetWindow::cleanup()
{
    delete window;
    window = nullptr;
    delete player;
    player = nullptr;
    state.reset();
}

void tst_SetWindow::openWith(const QStringList &hours)
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

QStringList tst_SetWindow::tableHours()
{
    auto *table = child<QTableWidget>("alarmListTable");
    QStringList hours;
    for (int row = 0; row < table->rowCount(); ++row)
        hours << qobject_cast<QComboBox *>(table->cellWidget(row, 1))->currentText();
    return hours;
}

QStringList tst_SetWindow::listHours()
{
    QStringList hours;
    for (const alarmOne *alarm : *window->currentAlarmList())
        hours << alarm->hour;
    return hours;
}

void tst_SetWindow::selectRows(int top, int bottom)
{
    auto *table = child<QTableWidget>("alarmListTable");
    table->setRangeSelected(QTableWidgetSelectionRange(top, 0, bottom, table->columnCount() - 1), true);
}

void tst_SetWindow::form()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("Vurn Settings"));
    QCOMPARE(window->size().expandedTo(QSize(640, 480)), window->size());
    QCOMPARE(window->windowModality(), Qt::ApplicationModal);
    QCOMPARE(window->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QVERIFY(!(window->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window->windowFlags() & Qt::MSWindowsFixedSizeDialogHint);
    QVERIFY(!window->isVisible());

    auto *tabs = child<QTabWidget>("tabWidget");
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(tabs->tabText(0), QStringLiteral("プレイリストリスト"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("アラームリスト"));
    QCOMPARE(tabs->tabText(2), QStringLiteral("その他の設定"));
    QCOMPARE(tabs->widget(1)->objectName(), QStringLiteral("alermListTab"));

    auto *table = child<QTableWidget>("alarmListTable");
    const QStringList headers{"有効", "時", "分", "月", "火", "水", "木", "金",
                              "土", "日", "プレイリスト", "モード", "選択", "割込", "音量指定", "音量操作"};
    const QList<int> widths{40, 40, 40, 30, 30, 30, 30, 30, 30, 30, 120, 180, 30, 30, 80, 180};
    QCOMPARE(table->columnCount(), 16);
    // The drawn width, unless the heading needs more at this font.
    QHeaderView *heading = table->horizontalHeader();
    const int margins = 2 * heading->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, heading);
    for (int column = 0; column < 16; ++column) {
        QCOMPARE(table->horizontalHeaderItem(column)->text(), headers.at(column));
        const int needed = heading->fontMetrics().horizontalAdvance(headers.at(column)) + margins;
        if (needed <= widths.at(column))
            QCOMPARE(table->columnWidth(column), widths.at(column));
        else
            QVERIFY2(table->columnWidth(column) >= needed, qPrintable(headers.at(column)));
    }
    QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(table->selectionBehavior(), QAbstractItemView::SelectRows);

    QCOMPARE(child<QPushButton>("okButon")->text(), QStringLiteral("ok"));
    QCOMPARE(child<QPushButton>("cancelButton")->text(), QStringLiteral("キャンセル"));
    QCOMPARE(child<QPushButton>("pushButton")->text(), QStringLiteral("一括設定"));
    QCOMPARE(child<QPushButton>("new_save_button")->text(), QStringLiteral("この名前で保存する"));
    QCOMPARE(child<QLabel>("label_allcount")->text(), QString()); // no playlist chosen yet
    auto *label = child<QLabel>("label_6");
    QCOMPARE(label->styleSheet(), QStringLiteral("background-color: rgb(220, 220, 220)"));
    QVERIFY(label->text().contains(QStringLiteral("まだ実装されていません。")));
    QVERIFY(label->text().contains(QStringLiteral("現在はご利用頂けません。")));
    // The saved playlists work now: the notice no longer covers their tab.
    QVERIFY(label->isHidden());
    // The other settings tab holds real settings now, not the notice.
    QVERIFY(!window->findChild<QLabel *>(QStringLiteral("label_8")));
    QCOMPARE(child<QCheckBox>("trayCheckBox")->text(), QStringLiteral("ウィンドウを閉じてもトレイで動作を続ける"));
    QCOMPARE(child<QCheckBox>("stayAwakeCheckBox")->text(), QStringLiteral("アラームまでスリープしない"));
}

void tst_SetWindow::switchDisablesAlarmWidgets()
{
    openWith({"01"});
    const char *const guarded[] = {"alarmAddButton", "alarmDelButton", "alarmClearButton",
                                   "alarmListResetButton"};
    auto *box = child<QCheckBox>("allAlarmEnableCheckBox");
    QVERIFY(window->isAlarmEnabled());

    box->click();
    QVERIFY(!window->isAlarmEnabled());
    QVERIFY(!child<QTableWidget>("alarmListTable")->isEnabled());
    for (const char *name : guarded)
        QVERIFY2(!child<QPushButton>(name)->isEnabled(), name);
    QVERIFY(child<QPushButton>("pushButton")->isEnabled());
    QVERIFY(child<QPushButton>("okButon")->isEnabled());

    box->click();
    QVERIFY(window->isAlarmEnabled());
    QVERIFY(child<QTableWidget>("alarmListTable")->isEnabled());
    for (const char *name : guarded)
        QVERIFY2(child<QPushButton>(name)->isEnabled(), name);
}

void tst_SetWindow::switchOffBeforeFirstShow()
{
    window->setAlarmEnabled(false);
    QVERIFY(!window->isVisible());
    QVERIFY(!window->isAlarmEnabled());
    QVERIFY(!child<QTableWidget>("alarmListTable")->isEnabled());
    QVERIFY(!child<QPushButton>("alarmAddButton")->isEnabled());
    QVERIFY(!child<QPushButton>("alarmListResetButton")->isEnabled());
    window->setAlarmEnabled(true);
    QVERIFY(window->isAlarmEnabled());
    QVERIFY(child<QPushButton>("alarmClearButton")->isEnabled());
}

void tst_SetWindow::refusals_data()
{
    QTest::addColumn<QStringList>("hours");
    QTest::addColumn<bool>("switchOff");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");

    const QString listError = QStringLiteral("アラームリストエラー");
    QTest::newRow("add while off") << QStringList{} << true << "alarmAddButton"
                                   << QStringLiteral("エラー")
                                   << QStringLiteral("アラームリストが無効になっています。")
                                   << int(QMessageBox::Information);
    QTest::newRow("del while off") << QStringList{"01"} << true << "alarmDelButton"
                                   << QStringLiteral("エラー")
                                   << QStringLiteral("アラームリストが無効になっています。")
                                   << int(QMessageBox::Information);
    QTest::newRow("del on empty table")
        << QStringList{} << false << "alarmDelButton" << listError
        << QStringLiteral("アラームリストにアラームが登録されていません。") << int(QMessageBox::Warning);
    QTest::newRow("del without selection")
        << QStringList{"01", "02"} << false << "alarmDelButton" << listError
        << QStringLiteral("アラームリストで削除するアラームを選択して下さい。")
        << int(QMessageBox::Warning);
}

void tst_SetWindow::refusals()
{
    QFETCH(QStringList, hours);
    QFETCH(bool, switchOff);
    QFETCH(QString, button);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(int, icon);

    openWith(hours);
    if (switchOff) {
        // The guarded buttons are disabled with the table; their slots still
        // refuse when reached another way (a shortcut, a stale click).
        window->setAlarmEnabled(false);
    }
    ModalAnswerer answerer(QMessageBox::Ok);
    answerer.arm();
    QVERIFY(QMetaObject::invokeMethod(window, qPrintable("on_" + button + "_clicked")));
    QVERIFY(answerer.answered);
    QCOMPARE(answerer.count, 1);
    QCOMPARE(answerer.title, title);
    QCOMPARE(answerer.text, text);
    QCOMPARE(int(answerer.icon), icon);
    QVERIFY(answerer.hadParent);
    QCOMPARE(tableHours(), hours);
}

void tst_SetWindow::deleteTwoRangesAsksNothing()
{
    openWith({"00", "01", "02", "03", "04", "05"});
    selectRows(1, 2);
    selectRows(4, 4);
    ModalAnswerer answerer(QMessageBox::Ok, 500);
    answerer.arm();
    click("alarmDelButton");
    QCOMPARE(answerer.count, 0);
    QCOMPARE(tableHours(), (QStringList{"00", "03", "05"}));
    // Not confirmed yet: the working list is untouched until "ok".
    QCOMPARE(listHours().size(), 6);
    click("okButon");
    QVERIFY(!window->isVisible());
    QCOMPARE(listHours(), (QStringList{"00", "03", "05"}));
}

void tst_SetWindow::deleteOnlyRowAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("rowsLeft");
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << 1;
    QTest::newRow("ok") << int(QMessageBox::Ok) << 0;
}

void tst_SetWindow::deleteOnlyRowAsks()
{
    QFETCH(int, answer);
    QFETCH(int, rowsLeft);
    openWith({"07"});
    selectRows(0, 0);
    ModalAnswerer answerer{QMessageBox::StandardButton(answer)};
    answerer.arm();
    click("alarmDelButton");
    QVERIFY(answerer.answered);
    QCOMPARE(answerer.title, QStringLiteral("アラームリストクリア"));
    QCOMPARE(answerer.text, QStringLiteral("アラームリストをクリアします。よろしいですか？"));
    QCOMPARE(answerer.icon, QMessageBox::Question);
    QCOMPARE(tableHours().size(), rowsLeft);
}

void tst_SetWindow::clearThenOkCancelReset()
{
    openWith({"05", "06"});
    ModalAnswerer answerer(QMessageBox::Cancel);
    answerer.arm();
    click("alarmClearButton");
    QVERIFY(answerer.answered);
    QCOMPARE(answerer.text, QStringLiteral("アラームリストをクリアします。よろしいですか？"));
    QCOMPARE(tableHours(), (QStringList{"05", "06"}));

    ModalAnswerer yes(QMessageBox::Ok);
    yes.arm();
    click("alarmClearButton");
    QVERIFY(yes.answered);
    QVERIFY(tableHours().isEmpty());

    // Reset brings the working list back into the table.
    click("alarmListResetButton");
    QCOMPARE(tableHours(), (QStringList{"05", "06"}));

    // Cleared and cancelled: showing the window again brings the rows back.
    yes.arm();
    click("alarmClearButton");
    QVERIFY(yes.answered);
    click("cancelButton");
    QVERIFY(!window->isVisible());
    QCOMPARE(listHours(), (QStringList{"05", "06"}));
    window->show();
    window->refreshAlarmTable();
    QCOMPARE(tableHours(), (QStringList{"05", "06"}));

    // Added rows count only after "ok"; then clearing with "ok" empties the list.
    click("alarmAddButton");
    QCOMPARE(tableHours(), (QStringList{"05", "06", "00"}));
    QCOMPARE(listHours().size(), 2);
    click("okButon");
    QCOMPARE(listHours(), (QStringList{"05", "06", "00"}));
    window->show();
    yes.arm();
    click("alarmClearButton");
    QVERIFY(yes.answered);
    click("okButon");
    QCOMPARE(window->currentAlarmList()->size(), 0);
}

void tst_SetWindow::bulkDialogOpensWithTrackCount()
{
    player->addFiles(audio.mid(0, 3));
    QCOMPARE(player->tracks().size(), 3);
    openWith({});
    click("pushButton");
    auto *dialog = qobject_cast<alarm_set_window *>(QApplication::activeModalWidget());
    QVERIFY(dialog);
    QVERIFY(dialog->isModal());
    auto *mode = dialog->findChild<QComboBox *>(QStringLiteral("modeBox"));
    QCOMPARE(mode->count(), 7 + 3);
    QCOMPARE(mode->itemText(9), QStringLiteral("リピートなし：3"));

    dialog->findChild<QSpinBox *>(QStringLiteral("timeCount"))->setValue(2);
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("pushButton")), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    // The series is live at once, even if the window is then cancelled.
    QCOMPARE(window->currentAlarmList()->size(), 2);
    QCOMPARE(tableHours().size(), 2);
    click("cancelButton");
    QCOMPARE(window->currentAlarmList()->size(), 2);
}

QTEST_MAIN(tst_SetWindow)
#include "tst_setwindow.moc"
