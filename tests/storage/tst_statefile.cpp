#include "library/musicinfo.h"
#include "storage/statefile.h"
#include "storage/vurnsettings.h"
#include "support/inisnapshot.h"
#include "support/statedir.h"

#include <QMap>
#include <QRect>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Texts that make QSettings quote or escape, and plain ones.
const QStringList awkward{
    QStringLiteral("plain"), QStringLiteral("朝の歌"), QStringLiteral("ＡＢＣ ｱｲｳ"), QStringLiteral("a, b"),
    QStringLiteral("semi;colon"), QStringLiteral("x=y"), QStringLiteral("say \"hi\""), QStringLiteral("back\\slash"),
    QStringLiteral(" padded "), QStringLiteral("@at"), QStringLiteral("@ByteArray(x)"), QStringLiteral("tab\there"),
    QStringLiteral("line\nbreak"), QString(QChar(1)) + QStringLiteral("a"), QString(), QStringLiteral("C:/x/y.mp3")};

QList<storedTrack> awkwardTracks()
{
    QList<storedTrack> tracks;
    for (int i = 0; i < awkward.size(); ++i) {
        storedTrack t;
        t.file = QStringLiteral("/music/%1/").arg(i) + awkward.at(i) + QStringLiteral(".mp3");
        t.title = awkward.at(i);
        t.artist = awkward.at((i + 1) % awkward.size());
        t.album = awkward.at((i + 2) % awkward.size());
        t.year = QStringLiteral("19%1").arg(i + 10);
        t.lengthMsec = 1000 * (i + 1);
        if (i % 3) {
            t.size = 1000 + i;
            t.modified = 1765000000000 + i;
        }
        tracks << t;
    }
    return tracks;
}

// Each "[name]" section of an INI text and its lines.
QMap<QString, QByteArray> sections(const QByteArray &text)
{
    QMap<QString, QByteArray> result;
    QString current;
    for (const QByteArray &line : text.split('\n')) {
        if (line.startsWith('['))
            current = QString::fromUtf8(line);
        else if (!line.isEmpty())
            result[current] += line + '\n';
    }
    return result;
}

} // namespace

class tst_stateFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every playlist group reads exactly as QSettings' own INI format writes it.
    void playlistTextIsQSettingsText()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("qsettings.ini"));
        const QList<storedTrack> tracks = awkwardTracks();
        {
            QSettings ini(path, QSettings::IniFormat);
            ini.setIniCodec("UTF-8");
            for (int i = 0; i < tracks.size(); ++i) {
                const storedTrack &t = tracks.at(i);
                ini.beginGroup(QString::number(i));
                ini.setValue(QStringLiteral("File"), t.file);
                ini.setValue(QStringLiteral("Time"), uint(t.lengthMsec));
                ini.setValue(QStringLiteral("Title"), t.title);
                ini.setValue(QStringLiteral("Artist"), t.artist);
                ini.setValue(QStringLiteral("Album"), t.album);
                ini.setValue(QStringLiteral("Year"), t.year);
                if (t.size >= 0) {
                    ini.setValue(QStringLiteral("Size"), t.size);
                    ini.setValue(QStringLiteral("Modified"), t.modified);
                }
                ini.endGroup();
            }
        }
        const auto expected = sections(StateDir::read(path));
        const auto ours = sections(stateFile::playlistText(tracks));
        QCOMPARE(ours.keys(), expected.keys());
        for (const QString &name : expected.keys())
            QCOMPARE(ours.value(name), expected.value(name));

        // And what QSettings wrote reads back whole.
        const QList<storedTrack> read = stateFile::readPlaylist(StateDir::read(path), true);
        QCOMPARE(read.size(), tracks.size());
        for (int i = 0; i < tracks.size(); ++i) {
            QCOMPARE(read.at(i).file, tracks.at(i).file);
            QCOMPARE(read.at(i).title, tracks.at(i).title);
            QCOMPARE(read.at(i).artist, tracks.at(i).artist);
            QCOMPARE(read.at(i).album, tracks.at(i).album);
            QCOMPARE(read.at(i).year, tracks.at(i).year);
            QCOMPARE(read.at(i).lengthMsec, tracks.at(i).lengthMsec);
            QCOMPARE(read.at(i).size, tracks.at(i).size);
            QCOMPARE(read.at(i).modified, tracks.at(i).modified);
        }
    }

    // Files edited by hand or by other tools.
    void handWrittenPlaylists_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("CRLF, comments, spaces round '='")
            << QByteArray("; made by hand\r\n[0]\r\nFile = /a.mp3\r\nTitle=  A  \r\n\r\n[1]\r\nFile=/b.mp3\r\n")
            << QStringList{"/a.mp3", "/b.mp3"} << QStringList{"A", ""};
        QTest::newRow("unquoted comma: joined again")
            << QByteArray("[0]\nFile=/a.mp3\nTitle=one,two\n") << QStringList{"/a.mp3"} << QStringList{"one, two"};
        QTest::newRow("groups out of order, a gap ends the list")
            << QByteArray("[1]\nFile=/b.mp3\n[0]\nFile=/a.mp3\n[3]\nFile=/d.mp3\n")
            << QStringList{"/a.mp3", "/b.mp3"} << QStringList{"", ""};
        QTest::newRow("a group given twice: the later key wins")
            << QByteArray("[0]\nFile=/a.mp3\nTitle=old\n[0]\nTitle=new\n")
            << QStringList{"/a.mp3"} << QStringList{"new"};
        QTest::newRow("leading zero and other groups are not playlist groups")
            << QByteArray("[General]\nVolume=3\n[00]\nFile=/z.mp3\n[Alarm0]\nFile=/y.mp3\n[0]\nFile=/a.mp3\n")
            << QStringList{"/a.mp3"} << QStringList{""};
        QTest::newRow("escapes and a continued line")
            << QByteArray("[0]\nFile=\"/x\\\\y.mp3\"\nTitle=a\\x3042\\\nb\n")
            << QStringList{"/x\\y.mp3"} << QStringList{QStringLiteral("aあb")};
        QTest::newRow("truncated") << QByteArray("[0]\nFile=/a.mp3\n[1]\nFi") << QStringList{"/a.mp3"}
                                   << QStringList{""};
    }
    void handWrittenPlaylists()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, files);
        QFETCH(QStringList, titles);
        const QList<storedTrack> read = stateFile::readPlaylist(text, true);
        QStringList readFiles, readTitles;
        for (const storedTrack &t : read) {
            readFiles << t.file;
            readTitles << t.title;
        }
        QCOMPARE(readFiles, files);
        QCOMPARE(readTitles, titles);
    }

    // The other groups go through QSettings with the state format; both
    // directions agree with its INI format, typed values included.
    void otherGroupsAgreeWithIniFormat()
    {
        QTemporaryDir dir;
        QByteArray allBytes;
        for (int b = 0; b < 256; ++b)
            allBytes += char(b);
        const QMap<QString, QVariant> values{
            {QStringLiteral("General/RepeatMode"), QStringLiteral("全曲リピート(>>)")},
            {QStringLiteral("General/Volume"), 40},
            {QStringLiteral("General/alarmEnable"), false},
            {QStringLiteral("General/geometry"), allBytes},
            {QStringLiteral("Top"), QStringLiteral("@at, and \"quotes\"")},
            {QStringLiteral("Alarm0/Week"), QStringLiteral("024")},
            {QStringLiteral("Alarm0/List"), QStringList{"a", "b c", ""}},
            {QStringLiteral("Alarm0/Rect"), QRect(1, 2, 3, 4)},
            {QStringLiteral("Sub/deeper/key"), QStringLiteral(" x ")}};
        const QString ours = dir.filePath(QStringLiteral("ours.ini"));
        const QString theirs = dir.filePath(QStringLiteral("theirs.ini"));
        {
            QSettings a(ours, stateFile::format());
            QSettings b(theirs, QSettings::IniFormat);
            b.setIniCodec("UTF-8");
            for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
                a.setValue(it.key(), it.value());
                b.setValue(it.key(), it.value());
            }
        }
        QCOMPARE(StateDir::read(ours), StateDir::read(theirs));
        QSettings readByIni(IniSnapshot::of(ours), QSettings::IniFormat);
        readByIni.setIniCodec("UTF-8");
        QSettings readByUs(IniSnapshot::of(theirs), stateFile::format());
        for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
            QCOMPARE(readByIni.value(it.key()).toString(), it.value().toString());
            QCOMPARE(readByUs.value(it.key()), readByIni.value(it.key()));
        }
        QCOMPARE(readByUs.value(QStringLiteral("General/geometry")).toByteArray(), allBytes);
    }

    // A whole state file: the playlist and the other groups together, read
    // back by QSettings' INI format as an older version reads it; a write
    // without a new playlist keeps the one in the file.
    void stateFileReadsAsBefore()
    {
        QTemporaryDir dir;
        vurnSettings::setStateDirectoryOverride(dir.path());
        QList<storedTrack> tracks = awkwardTracks();
        storedTrack emoji;
        emoji.file = QStringLiteral("/🎵.mp3");
        emoji.title = QStringLiteral("😀 smile");
        tracks << emoji;
        {
            vurnSettings settings;
            QString name;
            settings.openFile(name);
            settings.clearAll();
            settings.saveVolume(33);
            settings.savePlayList(tracks);
            settings.sync();
            settings.saveVolume(44); // written later with the playlist as it is
            settings.sync();
            QCOMPARE(settings.loadPlayListEntries(true).size(), tracks.size());
            QCOMPARE(settings.loadPlayListEntries(true).last().title, emoji.title);
        }
        const QString path = dir.filePath(QStringLiteral("Vurn.ini"));
        QSettings old(IniSnapshot::of(path), QSettings::IniFormat);
        old.setIniCodec("UTF-8");
        QCOMPARE(old.value(QStringLiteral("General/Volume")).toInt(), 44);
        for (int i = 0; i < awkward.size(); ++i) {
            QCOMPARE(old.value(QStringLiteral("%1/File").arg(i)).toString(), tracks.at(i).file);
            QCOMPARE(old.value(QStringLiteral("%1/Title").arg(i)).toString(), tracks.at(i).title);
            QCOMPARE(old.value(QStringLiteral("%1/Time").arg(i)).toUInt(), uint(tracks.at(i).lengthMsec));
        }
        vurnSettings::setStateDirectoryOverride(QString());
    }
};

QTEST_GUILESS_MAIN(tst_stateFile)
#include "tst_statefile.moc"
