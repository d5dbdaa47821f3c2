// Playlists of other players, read and written: M3U/M3U8, PLS, XSPF, with
// relative paths, Japanese names, legacy encodings, and entries that must be
// skipped rather than followed.
#include "playlistfiles/playlistreader.h"
#include "playlistfiles/playlistwriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_PlaylistFiles : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void reads_data();
    void reads();
    void legacyLatin1M3u();
    void skipsWhatCannotBeAdded();
    void roundTrips_data();
    void roundTrips();
    void expandKeepsOtherPaths();

private:
    QString write(const QString &name, const QByteArray &bytes);
    QTemporaryDir dir;
    QString music; // <dir>/music, holding a.mp3, 朝の歌.flac, sub/b c.ogg
};

void tst_PlaylistFiles::initTestCase()
{
    QVERIFY(dir.isValid());
    music = dir.filePath(QStringLiteral("music"));
    QVERIFY(QDir().mkpath(music + QStringLiteral("/sub")));
    for (const char *name : {"a.mp3", "朝の歌.flac", "sub/b c.ogg", "élan.mp3"}) {
        QFile file(music + QLatin1Char('/') + QString::fromUtf8(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
}

QString tst_PlaylistFiles::write(const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(bytes);
    return path;
}

void tst_PlaylistFiles::reads_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    // Each names, in this order: a.mp3, 朝の歌.flac, sub/b c.ogg.
    QTest::newRow("m3u8 with EXTINF, relative") << "list.m3u8"
        << QByteArray("#EXTM3U\n#EXTINF:123,Artist - Title\nmusic/a.mp3\n#EXTINF:5,x\nmusic/朝の歌.flac\nmusic/sub/b c.ogg\n");
    QTest::newRow("BOM and CRLF") << "crlf.m3u8"
        << QByteArray("\xEF\xBB\xBF#EXTM3U\r\nmusic/a.mp3\r\n\r\nmusic/朝の歌.flac\r\nmusic/sub/b c.ogg\r\n");
    QTest::newRow("file URLs") << "urls.m3u"
        << (QUrl::fromLocalFile(dir.filePath(QStringLiteral("music/a.mp3"))).toEncoded() + '\n'
            + QUrl::fromLocalFile(dir.filePath(QStringLiteral("music/朝の歌.flac"))).toEncoded() + '\n'
            + QUrl::fromLocalFile(dir.filePath(QStringLiteral("music/sub/b c.ogg"))).toEncoded() + '\n');
    QTest::newRow("absolute and Windows separators") << "mixed.m3u"
        << (dir.filePath(QStringLiteral("music/a.mp3")).toUtf8() + "\nmusic\\朝の歌.flac\nmusic\\sub\\b c.ogg\n");
    QTest::newRow("pls in number order") << "list.pls"
        << QByteArray("[playlist]\nFile3=music/sub/b c.ogg\nFile1=music/a.mp3\nTitle1=A\nFile2=music/朝の歌.flac\n"
                      "NumberOfEntries=3\nVersion=2\n");
    QTest::newRow("xspf, relative and absolute locations") << "list.xspf"
        << ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\">"
            "<trackList><track><location>music/a.mp3</location></track>"
            "<track><location>music/%E6%9C%9D%E3%81%AE%E6%AD%8C.flac</location><title>朝</title></track>"
            "<track><location>" + QUrl::fromLocalFile(dir.filePath(QStringLiteral("music/sub/b c.ogg"))).toEncoded()
            + "</location></track></trackList></playlist>\n");
}

void tst_PlaylistFiles::reads()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    const QString path = write(name, content);
    const playlistReader::Reading reading = playlistReader::read(path);
    QVERIFY(reading.opened);
    QCOMPARE(reading.files, (QStringList{music + QStringLiteral("/a.mp3"), music + QStringLiteral("/朝の歌.flac"),
                                         music + QStringLiteral("/sub/b c.ogg")}));
    QCOMPARE(reading.skipped.count(), 0);
}

void tst_PlaylistFiles::legacyLatin1M3u()
{
    // Written by an old player in Latin-1: "élan" is one byte 0xE9 away from UTF-8.
    const QString path = write(QStringLiteral("legacy.m3u"), QByteArray("music/\xE9lan.mp3\n"));
    const playlistReader::Reading reading = playlistReader::read(path);
    QCOMPARE(reading.files, QStringList{music + QStringLiteral("/élan.mp3")});
}

void tst_PlaylistFiles::skipsWhatCannotBeAdded()
{
    const QString self = dir.filePath(QStringLiteral("self.m3u8"));
    static const char raw[] = "music/a.mp3\n"
                              "self.m3u8\n"            // itself
                              "music\n"                // a folder
                              "/dev/null\n"            // a device
                              "http://example.com/x.mp3\n"
                              "smb://server/share/x.mp3\n"
                              "list.pls\n"             // another playlist
                              "music/missing.mp3\n"
                              "music/a\0.mp3\n"
                              "music/sub/b c.ogg\n";
    QCOMPARE(write(QStringLiteral("self.m3u8"), QByteArray(raw, sizeof(raw) - 1)), self);
    write(QStringLiteral("list.pls"), "[playlist]\nFile1=music/a.mp3\n");
    const playlistReader::Reading reading = playlistReader::read(self);
    QCOMPARE(reading.files, (QStringList{music + QStringLiteral("/a.mp3"), music + QStringLiteral("/sub/b c.ogg")}));
    QCOMPARE(reading.skipped.count(), 8);
    // Not a playlist at all, or too odd to read: nothing, and no crash.
    QVERIFY(!playlistReader::read(dir.filePath(QStringLiteral("none.m3u"))).opened);
    const QString garbage = write(QStringLiteral("garbage.xspf"), QByteArray("<playlist><trackList><track><locat"));
    QVERIFY(playlistReader::read(garbage).files.isEmpty());
}

void tst_PlaylistFiles::roundTrips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("m3u8") << "out/list.m3u8" << "#EXTM3U";
    QTest::newRow("xspf") << "out/list.xspf" << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    QTest::newRow("m3u8 beside the music") << "music/list.m3u8" << "#EXTM3U";
    QTest::newRow("xspf beside the music") << "music/list.xspf" << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    // The suffix chooses the format whatever its case, when written and when read.
    QTest::newRow("XSPF in capitals") << "out/LIST.XSPF" << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    QTest::newRow("M3U8 in capitals") << "out/LIST.M3U8" << "#EXTM3U";
}

void tst_PlaylistFiles::roundTrips()
{
    QFETCH(QString, name);
    QFETCH(QString, firstLine);
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("out"))));
    QList<storedTrack> tracks;
    for (const char *file : {"music/sub/b c.ogg", "music/朝の歌.flac", "music/a.mp3"}) {
        storedTrack track;
        track.file = dir.filePath(QString::fromUtf8(file));
        track.title = QStringLiteral("曲 %1").arg(tracks.size());
        track.artist = QStringLiteral("歌手");
        track.lengthMsec = 61500;
        tracks << track;
    }
    const QString path = dir.filePath(name);
    QVERIFY(playlistWriter::write(path, tracks));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QCOMPARE(text.section(QLatin1Char('\n'), 0, 0), firstLine);
    // Beside the music, the paths are relative; elsewhere absolute.
    const bool beside = name.startsWith(QLatin1String("music/"));
    QCOMPARE(text.contains(dir.path()), !beside);
    if (name.endsWith(QLatin1String("m3u8")))
        QVERIFY(text.contains(QStringLiteral("#EXTINF:62,歌手 - 曲 1\n")));
    const playlistReader::Reading reading = playlistReader::read(path);
    QCOMPARE(reading.files, (QStringList{tracks.at(0).file, tracks.at(1).file, tracks.at(2).file}));
}

void tst_PlaylistFiles::expandKeepsOtherPaths()
{
    const QString list = write(QStringLiteral("two.m3u8"), "music/a.mp3\nmusic/gone.mp3\nmusic/sub/b c.ogg\n");
    loadReport skipped;
    const QStringList expanded = playlistReader::expand({music + QStringLiteral("/朝の歌.flac"), list, music}, skipped);
    QCOMPARE(expanded, (QStringList{music + QStringLiteral("/朝の歌.flac"), music + QStringLiteral("/a.mp3"),
                                    music + QStringLiteral("/sub/b c.ogg"), music}));
    QCOMPARE(skipped.count(), 1);
}

QTEST_MAIN(tst_PlaylistFiles)
#include "tst_playlistfiles.moc"
