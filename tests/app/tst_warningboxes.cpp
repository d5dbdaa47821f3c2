// The window's warning boxes: asked for again while one is open (a timer, a
// queued command), a box of the same kind is not opened a second time.
#include "app/warningboxes.h"

#include <QAbstractButton>
#include <QMap>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace {

QList<QMessageBox *> openBoxes()
{
    QList<QMessageBox *> boxes;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
            boxes << box;
    }
    return boxes;
}

struct Inside
{
    std::function<void()> asked;
    bool askReturned = false;
    int openWhileAsked = 0;
    QMap<QString, QString> shownWhileAsked; // title: text
    QObject timers; // they end with the test that set them
};

// Opens the first box with `open`, runs `inside.asked` inside it, and
// answers every box once it has looked at them.
void runInsideFirstBox(Inside &inside, const std::function<void()> &open)
{
    QTimer::singleShot(100, &inside.timers, [&inside] {
        inside.asked();
        inside.askReturned = true;
    });
    // Polled: the second box, if any, runs a loop of its own.
    auto *poll = new QTimer(&inside.timers);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [&inside, poll, ticks] {
        if (++*ticks % 20 != 0)
            return;
        if (inside.openWhileAsked == 0) {
            const QList<QMessageBox *> boxes = openBoxes();
            inside.openWhileAsked = boxes.size();
            for (QMessageBox *box : boxes)
                inside.shownWhileAsked.insert(box->windowTitle(), box->text());
        }
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Ok)->click();
        else
            poll->stop();
    });
    poll->start(20);
    open();
    qDeleteAll(inside.timers.children());
}

} // namespace

class tst_warningBoxes : public QObject
{
    Q_OBJECT

private slots:
    void oneOfAKindAtATime_data()
    {
        QTest::addColumn<QString>("secondTitle");
        QTest::addColumn<QString>("secondText");
        QTest::addColumn<int>("open");
        QTest::addColumn<QString>("firstShows");
        QTest::newRow("the same warning") << "プレイリストエラー" << "空です。" << 1 << "空です。";
        // The open box says what was asked last.
        QTest::newRow("the same kind, other words")
            << "プレイリストエラー" << "選択して下さい。" << 1 << "選択して下さい。";
        QTest::newRow("another kind") << "プレイリスト選択エラー" << "選択して下さい。" << 2 << "空です。";
    }
    void oneOfAKindAtATime()
    {
        QFETCH(QString, secondTitle);
        QFETCH(QString, secondText);
        QFETCH(int, open);
        QWidget window;
        window.show();
        warningBoxes boxes(&window);
        Inside inside;
        inside.asked = [&] { boxes.warn(secondTitle, secondText); };
        runInsideFirstBox(inside, [&] { boxes.warn(QStringLiteral("プレイリストエラー"), QStringLiteral("空です。")); });
        QVERIFY(inside.askReturned);
        QCOMPARE(inside.openWhileAsked, open);
        QTEST(inside.shownWhileAsked.value(QStringLiteral("プレイリストエラー")), "firstShows");
        QVERIFY(!boxes.isOpen(QStringLiteral("プレイリストエラー")));
        QVERIFY(openBoxes().isEmpty());
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
        Inside inside;
        inside.asked = [&] { boxes.tell(second); };
        runInsideFirstBox(inside, [&] { boxes.tell(first); });
        QVERIFY(inside.askReturned);
        QCOMPARE(inside.openWhileAsked, 1);
        const QString shown = inside.shownWhileAsked.value(first.title());
        QVERIFY2(shown.contains(QStringLiteral("/music/a.mp3")) && shown.contains(QStringLiteral("/music/b.mp3")),
                 qPrintable(shown));

        Inside again;
        again.asked = [] {};
        runInsideFirstBox(again, [&] { boxes.tell(second); });
        QCOMPARE(again.openWhileAsked, 1);
        QVERIFY(!again.shownWhileAsked.value(second.title()).contains(QStringLiteral("/music/a.mp3")));
        QVERIFY(again.shownWhileAsked.value(second.title()).contains(QStringLiteral("/music/b.mp3")));
    }
};

QTEST_MAIN(tst_warningBoxes)
#include "tst_warningboxes.moc"
