// The window's warning boxes: asked for again while one is open (a timer, a
// queued command), a box of the same kind is not opened a second time.
#include "app/warningboxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace {

// What was open after `again` ran inside the box that `first` opened.
struct Inside
{
    int open = 0;
    QString text; // of the box that was open first
};

Inside runInside(const std::function<void()> &first, const std::function<void()> &again)
{
    Inside seen;
    QObject scope;
    QTimer::singleShot(100, &scope, again);
    // Apart from `again`: a second box it opened waits in a loop of its own.
    QTimer::singleShot(400, &scope, [&] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible()) {
                ++seen.open;
                seen.text = box->text();
                box->button(QMessageBox::Ok)->click();
            }
        }
    });
    first();
    return seen;
}

} // namespace

class tst_warningBoxes : public QObject
{
    Q_OBJECT

private slots:
    void oneOfAKindAtATime_data()
    {
        QTest::addColumn<QString>("again");
        QTest::addColumn<QString>("shown");
        QTest::newRow("the same warning") << "空です。" << "空です。";
        // The open box says what was asked last.
        QTest::newRow("the same kind, other words") << "選択して下さい。" << "選択して下さい。";
    }
    void oneOfAKindAtATime()
    {
        QFETCH(QString, again);
        QWidget window;
        window.show();
        warningBoxes boxes(&window);
        const QString title = QStringLiteral("プレイリストエラー");
        const Inside seen = runInside([&] { boxes.warn(title, QStringLiteral("空です。")); },
                                      [&] { boxes.warn(title, again); });
        QCOMPARE(seen.open, 1);
        QTEST(seen.text, "shown");
        QVERIFY(!boxes.isOpen(title));
    }

    // Files that fail while the box of unreadable files is open join it; the
    // next box after it starts afresh.
    void unreadableFilesJoinTheOpenBox()
    {
        QWidget window;
        window.show();
        warningBoxes boxes(&window);
        loadReport first;
        first.add(QStringLiteral("/music/a.mp3"), QStringLiteral("ファイルが見つかりません。"));
        loadReport second;
        second.add(QStringLiteral("/music/b.mp3"), QStringLiteral("ファイルが見つかりません。"));
        // Not waited for: both calls return at once, into one box.
        boxes.tell(first);
        boxes.tell(second);
        QList<QMessageBox *> shown = window.findChildren<QMessageBox *>();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.first()->isVisible() && shown.first()->isModal());
        QVERIFY2(shown.first()->text().contains(QStringLiteral("/music/a.mp3"))
                     && shown.first()->text().contains(QStringLiteral("/music/b.mp3")),
                 qPrintable(shown.first()->text()));

        shown.first()->close();
        QTRY_VERIFY(window.findChildren<QMessageBox *>().isEmpty());
        QVERIFY(!boxes.isOpen(first.title()));
        boxes.tell(second);
        shown = window.findChildren<QMessageBox *>();
        QCOMPARE(shown.size(), 1);
        QVERIFY(!shown.first()->text().contains(QStringLiteral("/music/a.mp3")));
        shown.first()->close();
    }
};

QTEST_MAIN(tst_warningBoxes)
#include "tst_warningboxes.moc"
