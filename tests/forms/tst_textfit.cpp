// Every text of the main window, the settings window (alarm-table choosers
// included) and the bulk dialog shows whole at the platform's default font
// and at 11 pt, in Japanese and in English, judged from the font's metrics; where the drawn sizes are
// enough, nothing moves.
#include "alarm/alarm_set_window.h"
#include "alarm/setwindowcore.h"
#include "app/mainwindow.h"
#include "forms/textfit.h"
#include "playlist/vurncore.h"
#include "settings/setwindow.h"
#include "storage/vurnsettings.h"
#include "support/languagerig.h"
#include "support/textcheck.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <memory>

class tst_TextFit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void mainWindow_data();
    void mainWindow();
    void settingsWindow_data();
    void settingsWindow();
    void bulkDialog_data();
    void bulkDialog();
    void drawingThatFitsStaysPut();
    void grownWidgetKeepsRoomFromTouchingNeighbour();
    void grownWidgetPushesItsNeighbours();

private:
    void fontRows();
    void applyFontRow();

    QFont platformFont;
    std::unique_ptr<QTemporaryDir> stateDir;
    std::unique_ptr<LanguageRig> language;
};

void tst_TextFit::initTestCase()
{
    platformFont = QApplication::font();
}

void tst_TextFit::init()
{
    stateDir = std::make_unique<QTemporaryDir>();
    vurnSettings::setStateDirectoryOverride(stateDir->path());
}

void tst_TextFit::cleanup()
{
    QApplication::setFont(platformFont);
    language.reset();
    vurnSettings::setStateDirectoryOverride(QString());
    stateDir.reset();
}

void tst_TextFit::fontRows()
{
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<int>("shownLanguage");
    for (const int shown : {uiLanguage::Japanese, uiLanguage::English}) {
        const char *name = shown == uiLanguage::English ? "English" : "Japanese";
        QTest::addRow("%s, platform default", name) << 0 << shown;
        QTest::addRow("%s, 11 pt", name) << 11 << shown;
    }
}

void tst_TextFit::applyFontRow()
{
    QFETCH(int, pointSize);
    QFETCH(int, shownLanguage);
    QFont font = platformFont;
    if (pointSize > 0)
        font.setPointSize(pointSize);
    QApplication::setFont(font);
    language = std::make_unique<LanguageRig>(uiLanguage::Language(shownLanguage));
    QVERIFY(language->isShown());
}

void tst_TextFit::mainWindow_data()
{
    fontRows();
}

void tst_TextFit::mainWindow()
{
    applyFontRow();
    if (QTest::currentTestFailed())
        return;
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QList<QAction *> mode = window.findChild<QToolBar *>(QStringLiteral("playToolBar"))->actions();
    QAction *modeAction = nullptr;
    for (QAction *action : mode)
        if (action->objectName() == QLatin1String("actionMode"))
            modeAction = action;
    QVERIFY(modeAction);
    auto *volume = window.findChild<QPushButton *>(QStringLiteral("volButton"));
    // Every play-mode name, and the widest volume, at the default width.
    for (QAction *action : window.findChildren<QActionGroup *>().value(0)->actions()) {
        modeAction->setText(action->text());
        volume->setText(QStringLiteral("vol:100"));
        QApplication::processEvents();
        QCOMPARE(cutTexts(&window), QStringList());
        QCOMPARE(overlappingWidgets(&window), QStringList());
    }
}

void tst_TextFit::settingsWindow_data()
{
    fontRows();
}

void tst_TextFit::settingsWindow()
{
    applyFontRow();
    if (QTest::currentTestFailed())
        return;
    vurnCore player;
    setWindow window;
    window.setPlayerCore(&player);
    window.findChild<QPushButton *>(QStringLiteral("alarmAddButton"))->click();
    // A row showing the widest item of every chooser.
    auto *table = window.findChild<QTableWidget *>(QStringLiteral("alarmListTable"));
    for (int column = 0; column < table->columnCount(); ++column) {
        auto *box = qobject_cast<QComboBox *>(table->cellWidget(0, column));
        if (!box)
            continue;
        int widest = 0;
        for (int i = 1; i < box->count(); ++i)
            if (box->fontMetrics().horizontalAdvance(box->itemText(i))
                > box->fontMetrics().horizontalAdvance(box->itemText(widest)))
                widest = i;
        box->setCurrentIndex(widest);
    }
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Each heading of the alarm table shows whole above its column.
    QHeaderView *heading = table->horizontalHeader();
    const int margins = 2 * heading->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, heading);
    for (int column = 0; column < table->columnCount(); ++column) {
        const QString text = table->horizontalHeaderItem(column)->text();
        QVERIFY2(heading->sectionSize(column) >= heading->fontMetrics().horizontalAdvance(text) + margins,
                 qPrintable(QStringLiteral("%1: %2 px").arg(text).arg(heading->sectionSize(column))));
    }
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        QApplication::processEvents();
        QCOMPARE(cutTexts(&window), QStringList());
        QCOMPARE(overlappingWidgets(&window, {QStringLiteral("label_6")}), QStringList());
        // Whatever was pushed still lies inside the page (the drawing itself
        // puts the table a pixel past the left edge).
        const QWidget *page = tabs->currentWidget();
        for (QWidget *child : page->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            QVERIFY2(child->geometry().right() < page->width() && child->geometry().bottom() < page->height(),
                     qPrintable(child->objectName()));
        // A group box, frame and all, is inside what the window shows, and
        // what it holds stays inside its frame.
        for (QGroupBox *group : page->findChildren<QGroupBox *>()) {
            QVERIFY2(window.rect().contains(QRect(group->mapTo(&window, QPoint(0, 0)), group->size())),
                     qPrintable(group->objectName()));
            for (QWidget *child : group->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
                QVERIFY2(child->geometry().right() < group->width() && child->geometry().bottom() < group->height(),
                         qPrintable(QStringLiteral("%1 in %2: %3 of %4").arg(child->objectName(), group->objectName())
                                        .arg(child->geometry().right()).arg(group->width())));
        }
    }
    // The notice over the playlist tab hides everything under it, grown or
    // not (as drawn, some of it sticks out of the notice by a pixel or two).
    auto *notice = window.findChild<QLabel *>(QStringLiteral("label_6"));
    for (QWidget *child : notice->parentWidget()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        QVERIFY2(notice->geometry().contains(child->geometry()), qPrintable(child->objectName()));
    for (const char *name : {"okButon", "cancelButton"}) {
        auto *button = window.findChild<QPushButton *>(QLatin1String(name));
        QVERIFY(window.rect().contains(button->geometry()));
        QVERIFY(!button->geometry().intersects(tabs->geometry()));
    }
}

void tst_TextFit::bulkDialog_data()
{
    fontRows();
}

void tst_TextFit::bulkDialog()
{
    applyFontRow();
    if (QTest::currentTestFailed())
        return;
    QTableWidget table(0, 16);
    setWindowCore core;
    core.setTable(&table);
    alarm_set_window dialog;
    dialog.prepare(&core);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(cutTexts(&dialog), QStringList());
    QCOMPARE(overlappingWidgets(&dialog), QStringList());
    for (QWidget *child : dialog.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        QVERIFY2(dialog.rect().contains(child->geometry()), qPrintable(child->objectName()));
}

void tst_TextFit::drawingThatFitsStaysPut()
{
    QDialog dialog;
    auto *label = new QLabel(QStringLiteral("短い"), &dialog);
    label->setGeometry(10, 10, 300, 40);
    auto *button = new QPushButton(QStringLiteral("OK"), &dialog);
    button->setGeometry(320, 10, 200, 60);
    dialog.resize(600, 100);
    textFit::fitWindow(&dialog);
    QCOMPARE(label->geometry(), QRect(10, 10, 300, 40));
    QCOMPARE(button->geometry(), QRect(320, 10, 200, 60));
    QCOMPARE(dialog.size(), QSize(600, 100));
}

void tst_TextFit::grownWidgetKeepsRoomFromTouchingNeighbour()
{
    // Drawn touching (a short text with room to spare): grown, the text
    // would run into the box beside it.
    QDialog dialog;
    auto *label = new QLabel(QStringLiteral("onwards, every"), &dialog);
    label->setGeometry(80, 20, 31, 20);
    auto *box = new QPushButton(QStringLiteral("0"), &dialog);
    box->setGeometry(110, 20, 42, 22);
    dialog.resize(400, 60);
    textFit::fitWindow(&dialog);
    QVERIFY(label->width() > 31);
    QVERIFY2(box->x() >= label->geometry().right() + 1 + 4,
             qPrintable(QStringLiteral("%1 after %2").arg(box->x()).arg(label->geometry().right())));
}

void tst_TextFit::grownWidgetPushesItsNeighbours()
{
    QDialog dialog;
    auto *label = new QLabel(QStringLiteral("とても長いラベルの文字列です"), &dialog);
    label->setGeometry(10, 10, 20, 20);
    auto *right = new QPushButton(QStringLiteral("右"), &dialog);
    right->setGeometry(40, 10, 200, 40);
    auto *below = new QPushButton(QStringLiteral("下"), &dialog);
    below->setGeometry(10, 60, 200, 40);
    auto *cover = new QLabel(&dialog); // drawn over everything: keeps covering it
    cover->setGeometry(0, 0, 250, 120);
    dialog.resize(400, 200);
    textFit::fitWindow(&dialog);
    QCOMPARE(label->width(), label->sizeHint().width());
    QCOMPARE(right->x(), label->geometry().right() + 1 + 10); // the drawn gap of 10
    QCOMPARE(right->y(), 10);
    QCOMPARE(below->pos(), QPoint(10, 60));
    // The window keeps its drawn margin right of the drawing.
    QVERIFY(right->geometry().right() > 249);
    QCOMPARE(cover->geometry(), QRect(0, 0, right->geometry().right() + 1, 120));
    QCOMPARE(dialog.width(), 400 + (right->geometry().right() - 249));
}

QTEST_MAIN(tst_TextFit)
#include "tst_textfit.moc"
