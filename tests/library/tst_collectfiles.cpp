#include "library/collectfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_CollectFiles : public QObject
{
    Q_OBJECT
private slots:
    void tree_data();
    void tree();
    void inputOrderAndPassThrough();
    void unreadableFolderSkipped();

private:
    // "dir/" makes a folder, "name -> target" a symbolic link, anything else an
    // empty file; parents are created as needed.
    static bool build(const QString &root, const QStringList &layout);
};

bool tst_CollectFiles::build(const QString &root, const QStringList &layout)
{
    for (const QString &item : layout) {
        const int arrow = item.indexOf(QLatin1String(" -> "));
        if (arrow >= 0) {
            const QString link = root + QLatin1Char('/') + item.left(arrow);
            if (!QDir().mkpath(QFileInfo(link).absolutePath())
                || !QFile::link(item.mid(arrow + 4), link))
                return false;
        } else if (item.endsWith(QLatin1Char('/'))) {
            if (!QDir().mkpath(root + QLatin1Char('/') + item))
                return false;
        } else {
            const QString file = root + QLatin1Char('/') + item;
            if (!QDir().mkpath(QFileInfo(file).absolutePath()))
                return false;
            QFile f(file);
            if (!f.open(QIODevice::WriteOnly))
                return false;
        }
    }
    return true;
}

void tst_CollectFiles::tree_data()
{
    QTest::addColumn<QStringList>("layout");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("folder contents at the folder's place")
        << QStringList{"d/b.mp3", "d/A/x.mp3", "d/c.ogg"} << "d"
        << QStringList{"d/A/x.mp3", "d/b.mp3", "d/c.ogg"};
    QTest::newRow("an album's companions passed over")
        << QStringList{"d/01.mp3", "d/cover.jpg", "d/Folder.JPG", "d/rip.log", "d/album.cue", "d/list.m3u8",
                       "d/booklet.pdf", "d/notes.txt", "d/scans/back.png", "d/odd.xyz", "d/02.flac"}
        << "d" << QStringList{"d/01.mp3", "d/02.flac", "d/odd.xyz"};
    QTest::newRow("a file given by name is always kept")
        << QStringList{"cover.jpg"} << "cover.jpg" << QStringList{"cover.jpg"};
    QTest::newRow("names compared ignoring case")
        << QStringList{"d/beta.mp3", "d/Alpha.mp3", "d/alpha2.mp3", "d/GAMMA/z.mp3", "d/delta.MP3"}
        << "d"
        << QStringList{"d/Alpha.mp3", "d/alpha2.mp3", "d/beta.mp3", "d/delta.MP3", "d/GAMMA/z.mp3"};
    QTest::newRow("nested depth first")
        << QStringList{"d/a/b/c/d.mp3", "d/a/e.mp3", "d/a/b/f.mp3", "d/z.mp3"} << "d"
        << QStringList{"d/a/b/c/d.mp3", "d/a/b/f.mp3", "d/a/e.mp3", "d/z.mp3"};
    QTest::newRow("hidden folders and files skipped")
        << QStringList{"d/.hidden/x.mp3", "d/.song.mp3", "d/song.mp3", "d/sub/.cover.jpg"} << "d"
        << QStringList{"d/song.mp3"};
    QTest::newRow("dotted folder name is scanned")
        << QStringList{"d/My.Music/t.flac"} << "d" << QStringList{"d/My.Music/t.flac"};
    QTest::newRow("given folder with a dot in its name")
        << QStringList{"My.Music/t.flac"} << "My.Music" << QStringList{"My.Music/t.flac"};
    QTest::newRow("hidden folder given directly")
        << QStringList{".stash/t.flac"} << ".stash" << QStringList{};
    QTest::newRow("empty folders")
        << QStringList{"d/", "d/e1/", "d/e2/e3/"} << "d" << QStringList{};
    QTest::newRow("trailing separator")
        << QStringList{"d/a.mp3"} << "d/" << QStringList{"d/a.mp3"};
    QTest::newRow("link to the parent folder")
        << QStringList{"d/a.mp3", "d/sub/s.mp3", "d/sub/up -> ..", "d/sub/self -> ."} << "d"
        << QStringList{"d/a.mp3", "d/sub/s.mp3"};
    QTest::newRow("link to the top of a longer loop")
        << QStringList{"d/x/y/z/back -> ../../..", "d/x/y/z/t.mp3"} << "d"
        << QStringList{"d/x/y/z/t.mp3"};
    QTest::newRow("link to a sibling folder is followed")
        << QStringList{"d/a/x.mp3", "d/b/link -> ../a"} << "d"
        << QStringList{"d/a/x.mp3", "d/b/link/x.mp3"};
    QTest::newRow("linked file is listed")
        << QStringList{"d/real.mp3", "d/alias.mp3 -> real.mp3"} << "d"
        << QStringList{"d/alias.mp3", "d/real.mp3"};
}

void tst_CollectFiles::tree()
{
    QFETCH(QStringList, layout);
    QFETCH(QString, input);
    QFETCH(QStringList, expected);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(build(tmp.path(), layout));
    const QString prefix = tmp.path() + QLatin1Char('/');

    QStringList relative;
    for (const QString &path : collectFiles({prefix + input})) {
        QVERIFY2(path.startsWith(prefix), qPrintable(path));
        relative << path.mid(prefix.size());
    }
    QCOMPARE(relative, expected);
}

void tst_CollectFiles::inputOrderAndPassThrough()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(build(tmp.path(), {"f/2.mp3", "f/1.mp3", "loose.ogg", ".song.mp3"}));
    const QString root = tmp.path() + QLatin1Char('/');

    const QStringList input{root + "loose.ogg", root + "f", root + "missing.mp3",
                            root + ".song.mp3", root + "f", QString()};
    // Plain paths stay as given and where given (existing or not, hidden or
    // not); a folder given twice is listed twice.
    const QStringList expected{root + "loose.ogg", root + "f/1.mp3", root + "f/2.mp3",
                               root + "missing.mp3", root + ".song.mp3", root + "f/1.mp3",
                               root + "f/2.mp3", QString()};
    QCOMPARE(collectFiles(input), expected);
    QCOMPARE(collectFiles({}), QStringList());
    QCOMPARE(collectFiles({QStringLiteral("/")}), QStringList());
}

void tst_CollectFiles::unreadableFolderSkipped()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(build(tmp.path(), {"d/a.mp3", "d/locked/x.mp3", "d/z.mp3"}));
    const QString locked = tmp.path() + "/d/locked";
    QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
    if (QDir(locked).isReadable()) {
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                          | QFileDevice::ExeOwner);
        QSKIP("this user can read any folder");
    }
    const QStringList result = collectFiles({tmp.path() + "/d"});
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                      | QFileDevice::ExeOwner);
    QCOMPARE(result, QStringList({tmp.path() + "/d/a.mp3", tmp.path() + "/d/z.mp3"}));
}

QTEST_MAIN(tst_CollectFiles)
#include "tst_collectfiles.moc"
