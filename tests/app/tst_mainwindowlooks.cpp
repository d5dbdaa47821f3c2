// What the main window looks like and how its controls answer the mouse:
// the folded window at the platform font and at 11 pt, the columns filling
// the table, sliders going where clicked, and where the add dialog opens.
#include "app/mainwindow.h"
#include "forms/findbar.h"
#include "library/audioformats.h"
#include "playlist/vurncore.h"
#include "storage/vurnsettings.h"
#include "support/audiofixtures.h"
#include "support/languagerig.h"
#include "support/statedir.h"
#include "support/textcheck.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolBar>


#include <memory>

class tst_MainWindowLooks : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void foldedWindowShowsPlayerWhole_data();
    void foldedWindowShowsPlayerWhole();
    void titleColumnFillsTable_data();
    void titleColumnFillsTable();
    void volumeGoesWhereClicked();
    void seekGoesWhereClicked();
    void addDialogStartsInLastFolder();

private:
    void open(int pointSize = 0);
    template <typename T> T *child(const char *name)
    {
        T *found = window->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no child named %s", name);
        return found;
    }
    // Presses and releases the left button on the groove at a fraction of
    // the slider's range; returns the value that spot stands for.
    static int clickGroove(QSlider *slider, double fraction);

    QFont platformFont;
    std::unique_ptr<AudioFixtures> fixtures;
    std::unique_ptr<StateDir> state;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<LanguageRig> language;
};

void tst_MainWindowLooks::initTestCase()
{
    platformFont = QApplication::font();
    fixtures = std::make_unique<AudioFixtures>();
}

void tst_MainWindowLooks::open(int pointSize)
{
    QFont font = platformFont;
    if (pointSize > 0)
        font.setPointSize(pointSize);
    QApplication::setFont(font);
    if (!state)
        state = std::make_unique<StateDir>();
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void tst_MainWindowLooks::cleanup()
{
    window.reset();
    state.reset();
    language.reset();
    QApplication::setFont(platformFont);
}

int tst_MainWindowLooks::clickGroove(QSlider *slider, double fraction)
{
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    const QRect groove = slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, slider);
    const QRect handle = slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
    const int span = groove.width() - handle.width();
    const int x = groove.x() + (handle.width() - 1) / 2 + qRound(fraction * span);
    QTest::mouseClick(slider, Qt::LeftButton, Qt::NoModifier, QPoint(x, slider->height() / 2));
    return slider->minimum() + qRound(fraction * (slider->maximum() - slider->minimum()));
}

void tst_MainWindowLooks::foldedWindowShowsPlayerWhole_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<bool>("findOpen");
    QTest::addColumn<bool>("english");
    for (const bool english : {false, true}) {
        const char *name = english ? "English" : "Japanese";
        QTest::addRow("%s, platform font", name) << 0 << false << english;
        QTest::addRow("%s, 11 pt", name) << 11 << false << english;
        QTest::addRow("%s, find bar open", name) << 0 << true << english;
        QTest::addRow("%s, 11 pt, find bar open", name) << 11 << true << english;
    }
}

void tst_MainWindowLooks::foldedWindowShowsPlayerWhole()
{
    QFETCH(int, pointSize);
    QFETCH(bool, findOpen);
    QFETCH(bool, english);
    language = std::make_unique<LanguageRig>(english ? uiLanguage::English : uiLanguage::Japanese);
    QVERIFY(language->isShown());
    open(pointSize);
    window->addPaths({fixtures->make(QStringLiteral("one.wav"), 1000)});
    if (findOpen)
        window->actionFind->trigger();
    const int unfoldedHeight = window->height();
    auto *table = child<QTableView>("playListTable");
    auto *listBar = child<QToolBar>("playlistToolBar");
    auto *playBar = child<QToolBar>("playToolBar");
    QWidget *finder = window->finder;

    child<QAction>("actionFace")->trigger();
    QApplication::processEvents();
    QVERIFY(!table->isVisible());
    QVERIFY(!listBar->isVisible());
    QVERIFY(!finder->isVisible());
    QWidget *central = window->centralWidget();
    QVERIFY(window->rect().contains(central->geometry()));
    QVERIFY(!playBar->geometry().intersects(central->geometry()));
    for (const char *name : {"musicTitle", "musicTimeBar", "musicTime", "volButton", "volumeSlider"}) {
        auto *widget = child<QWidget>(name);
        QVERIFY2(widget->isVisible(), name);
        // Whole: not squeezed below what it needs, not cut by the window's edge.
        QVERIFY2(central->rect().contains(QRect(widget->mapTo(central, QPoint(0, 0)), widget->size())), name);
        QVERIFY2(widget->height() >= widget->minimumSizeHint().height(), name);
    }
    auto *volume = child<QSlider>("volumeSlider");
    QVERIFY(volume->width() >= volume->sizeHint().width());
    QCOMPARE(cutTexts(window.get()), QStringList());
    QCOMPARE(overlappingWidgets(window.get()), QStringList());

    child<QAction>("actionFace")->trigger();
    QApplication::processEvents();
    QCOMPARE(window->height(), unfoldedHeight);
    QVERIFY(table->isVisible());
    QVERIFY(listBar->isVisible());
    QCOMPARE(finder->isVisible(), findOpen);
}

void tst_MainWindowLooks::titleColumnFillsTable_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<int>("rows");
    QTest::newRow("platform font, a few rows") << 0 << 3;
    QTest::newRow("11 pt, a few rows") << 11 << 3;
    QTest::newRow("11 pt, rows past the bottom") << 11 << 60;
}

void tst_MainWindowLooks::titleColumnFillsTable()
{
    QFETCH(int, pointSize);
    QFETCH(int, rows);
    open(pointSize);
    // A ten-hour track shows the widest length there is, "10:00:00".
    const QString longest = fixtures->makeMp3ClaimingFrames(QStringLiteral("ten hours.mp3"), 1378125);
    const QString title = fixtures->make(QStringLiteral("long.wav"), 1000,
                                         TrackTags{QString(20, QChar(0x66F2)), {}, {}, 0});
    QStringList paths{longest};
    for (int i = 1; i < rows; ++i)
        paths << title;
    window->core->addFiles(paths);
    window->adjustColumns();
    auto *table = child<QTableView>("playListTable");
    QCOMPARE(table->model()->index(0, 1).data().toString(), QStringLiteral("10:00:00"));
    auto fills = [table] {
        return table->columnWidth(0) + table->columnWidth(1) == table->viewport()->width();
    };
    QTRY_VERIFY(fills());
    auto *view = static_cast<QAbstractItemView *>(table);
    QVERIFY(table->columnWidth(1) >= view->sizeHintForColumn(1));
    QVERIFY(table->columnWidth(1) >= table->horizontalHeader()->sectionSizeHint(1));

    window->resize(window->width() + 250, window->height());
    QTRY_VERIFY(fills());
    // A cleared list starts a new model state: the columns still fill.
    window->core->clearTracks();
    window->core->addFiles({title});
    QTRY_VERIFY(fills());
}

void tst_MainWindowLooks::volumeGoesWhereClicked()
{
    open();
    auto *slider = child<QSlider>("volumeSlider");
    QCOMPARE(slider->value(), 70); // the stored default
    const double step = double(slider->maximum()) / slider->width() + 1;
    const int wanted = clickGroove(slider, 0.25);
    QVERIFY2(qAbs(slider->value() - wanted) <= step, qPrintable(QString::number(slider->value())));
    QCOMPARE(window->volumePercent(), slider->value());
    QCOMPARE(child<QPushButton>("volButton")->text(), QStringLiteral("vol:%1").arg(slider->value()));
}

void tst_MainWindowLooks::seekGoesWhereClicked()
{
    open();
    window->core->addFiles({fixtures->make(QStringLiteral("twenty.wav"), 20000)});
    child<QAction>("actionPlay")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 15000);
    auto *bar = child<QSlider>("musicTimeBar");
    QTRY_COMPARE_WITH_TIMEOUT(bar->maximum(), 20000, 5000);
    const double step = double(bar->maximum()) / bar->width() + 1;
    const int wanted = clickGroove(bar, 0.75);
    QVERIFY2(qAbs(bar->value() - wanted) <= step, qPrintable(QString::number(bar->value())));
    // The player was asked for that spot: it plays on from there.
    QTRY_VERIFY_WITH_TIMEOUT(window->core->positionMsec() >= wanted - 1000, 10000);
    QVERIFY(window->core->positionMsec() < 20000);
    child<QAction>("actionPlay")->trigger();
}

void tst_MainWindowLooks::addDialogStartsInLastFolder()
{
    state = std::make_unique<StateDir>();
    const QString music = fixtures->make(QStringLiteral("elsewhere/pick.wav"), 1000);
    const QString last = fixtures->path(QStringLiteral("last"));
    QVERIFY(QDir().mkpath(last));
    StateDir::write(state->filePath(QStringLiteral("Vurn.ini")), "[General]\nLastFolder=" + last.toUtf8() + "\n");
    open();

    QString startedIn;
    QStringList filters;
    QString complaint;
    int tries = 0;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            complaint = box->text(); // the dialog refused the choice
            box->reject();
            return;
        }
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog)
            return;
        if (startedIn.isEmpty()) {
            startedIn = dialog->directory().absolutePath();
            filters = dialog->nameFilters();
        }
        if (++tries > 100) {
            answer.stop();
            dialog->reject(); // a failure below rather than a hang
            return;
        }
        // Typed, as selectFile() leaves a focused name field alone.
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!name)
            return;
        name->setText(music);
        static_cast<QDialog *>(dialog)->accept(); // QFileDialog::accept, which checks the choice
    });
    answer.start(100);
    child<QAction>("actionAdd")->trigger();
    answer.stop();
    QCOMPARE(complaint, QString());
    QCOMPARE(startedIn, last);
    QVERIFY(!filters.isEmpty());
    for (const char *pattern : {"*.opus", "*.flac", "*.mp3", "*.m4a"})
        QVERIFY2(filters.first().split(QRegularExpression(QStringLiteral("[( )]"))).contains(QLatin1String(pattern)),
                 pattern);
    QTRY_COMPARE(window->core->tracks().size(), 1);

    // The folder chosen from is where the next start opens.
    window->quitForReal();
    const QByteArray saved = StateDir::read(state->filePath(QStringLiteral("Vurn.ini")));
    QVERIFY2(saved.contains("LastFolder=" + QFileInfo(music).absolutePath().toUtf8()), saved.constData());
}

QTEST_MAIN(tst_MainWindowLooks)
#include "tst_mainwindowlooks.moc"
