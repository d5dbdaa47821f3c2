// Reading one track's tags and length, and the time formatter.
#include "library/musicinfo.h"
#include "support/audiofixtures.h"
#include "support/modalanswerer.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTextCodec>

#include <taglib/fileref.h>
#include <taglib/tag.h>

class tst_musicInfo : public QObject
{
    Q_OBJECT

private slots:
    void msecToString_data();
    void msecToString();
    void readsTagsAndLength_data();
    void readsTagsAndLength();
    void emptyTitleFallsBackToBaseName_data();
    void emptyTitleFallsBackToBaseName();
    void samePathIsNotReadAgain();
    void pathDifferingInCaseIsReadAgain();
    void missingOrEmptyPathFailsSilently();
    void unreadableFileWarns_data();
    void unreadableFileWarns();
    void absurdLengthRefused();
    void eightBitTagsDecodeThroughLocale_data();
    void eightBitTagsDecodeThroughLocale();

private:
    AudioFixtures fixtures;
};

void tst_musicInfo::msecToString_data()
{
    QTest::addColumn<qint64>("msec");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "00:00";
    QTest::newRow("negative truncates") << qint64(-1) << "00:00";
    QTest::newRow("just under a minute") << qint64(59999) << "00:59";
    QTest::newRow("61 s") << qint64(61000) << "01:01";
    QTest::newRow("60 min stays short") << qint64(3600000) << "60:00";
    QTest::newRow("60:59") << qint64(3659000) << "60:59";
    QTest::newRow("61 min goes long") << qint64(3660000) << "1:01:00";
    QTest::newRow("ten hours") << qint64(36000000) << "10:00:00";
    QTest::newRow("past 2^31 ms") << qint64(2400000000) << "666:40:00";
    QTest::newRow("past 2^32 ms") << qint64(4300000000) << "1194:26:40";
    QTest::newRow("past 2^32 s") << qint64(5000000000000) << "1388888:53:20";
}

void tst_musicInfo::msecToString()
{
    QFETCH(qint64, msec);
    QFETCH(QString, text);
    QCOMPARE(musicInfo::msecToString(msec), text);
}

void tst_musicInfo::readsTagsAndLength_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("msec");
    QTest::addColumn<int>("expectedMsec");
    QTest::newRow("wav, whole seconds") << "tags.wav" << 2900 << 2000;
    QTest::newRow("flac") << "tags.flac" << 2000 << 2000;
    QTest::newRow("ogg") << "tags.ogg" << 2000 << 2000;
    QTest::newRow("mp3") << "tags.mp3" << 2000 << 2000;
}

void tst_musicInfo::readsTagsAndLength()
{
    QFETCH(QString, name);
    QFETCH(int, msec);
    QFETCH(int, expectedMsec);
    const TrackTags tags{QStringLiteral("朝のうた"), QStringLiteral("歌手 Ünïcode"),
                         QStringLiteral("アルバム"), 2009};
    const QString path = fixtures.make(name, msec, tags);
    QVERIFY(!path.isEmpty());

    musicInfo info;
    QVERIFY(info.readTags(path));
    QCOMPARE(info.filePath, path);
    QCOMPARE(info.fileName, name);
    QCOMPARE(info.baseName, QStringLiteral("tags"));
    QCOMPARE(info.suffix, QFileInfo(name).suffix());
    QCOMPARE(info.title, tags.title);
    QCOMPARE(info.artist, tags.artist);
    QCOMPARE(info.album, tags.album);
    QCOMPARE(info.year, QStringLiteral("2009"));
    QCOMPARE(info.lengthMsec, expectedMsec);
    QCOMPARE(info.lengthText, musicInfo::msecToString(expectedMsec));
}

void tst_musicInfo::emptyTitleFallsBackToBaseName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::newRow("blank in name") << "01 intro.wav" << "01 intro";
    QTest::newRow("dots cut at the first") << "a.b.wav" << "a";
}

void tst_musicInfo::emptyTitleFallsBackToBaseName()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    const QString path = fixtures.make(name, 1000);
    musicInfo info;
    QVERIFY(info.readTags(path));
    QCOMPARE(info.title, title);
    QCOMPARE(info.year, QStringLiteral("0"));
}

void tst_musicInfo::samePathIsNotReadAgain()
{
    const QString path = fixtures.make(QStringLiteral("once.wav"), 1000,
                                       {QStringLiteral("first"), {}, {}, 0});
    musicInfo info;
    QVERIFY(info.readTags(path));
    QVERIFY(AudioFixtures::writeTags(path, {QStringLiteral("second"), {}, {}, 0}));
    QVERIFY(info.readTags(path));
    QCOMPARE(info.title, QStringLiteral("first"));
    QVERIFY(info.fileInfo);
    QCOMPARE(info.fileInfo->filePath(), path);
}

void tst_musicInfo::pathDifferingInCaseIsReadAgain()
{
    const QString upper = fixtures.make(QStringLiteral("Case.wav"), 1000,
                                        {QStringLiteral("upper"), {}, {}, 0});
    const QString lower = fixtures.make(QStringLiteral("case.wav"), 1000,
                                        {QStringLiteral("lower"), {}, {}, 0});
    musicInfo info;
    QVERIFY(info.readTags(upper));
    QVERIFY(info.readTags(lower));
    QCOMPARE(info.title, QStringLiteral("lower"));
    QCOMPARE(info.filePath, lower);
}

void tst_musicInfo::missingOrEmptyPathFailsSilently()
{
    const QString path = fixtures.make(QStringLiteral("kept.wav"), 1000);
    musicInfo info;
    QVERIFY(info.readTags(path));
    QVERIFY(!info.readTags(fixtures.path(QStringLiteral("missing.wav"))));
    QCOMPARE(info.filePath, path);
    QCOMPARE(info.fileInfo->fileName(), QStringLiteral("missing.wav"));
    QVERIFY(!info.readTags(QString()));
    QCOMPARE(info.filePath, path);
}

void tst_musicInfo::unreadableFileWarns_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("junk in an audio suffix") << "broken.flac";
    QTest::newRow("not an audio type") << "notes.txt";
}

void tst_musicInfo::unreadableFileWarns()
{
    QFETCH(QString, name);
    const QString path = fixtures.makeBroken(name);
    QVERIFY(!path.isEmpty());
    musicInfo info;
    // The reader only says why; the command that read the file tells the user.
    ModalAnswerer answerer(QMessageBox::Ok, 500);
    answerer.arm();
    QVERIFY(!info.readTags(path));
    QTest::qWait(100);
    QVERIFY(!answerer.answered);
    QVERIFY(!info.failureReason.isEmpty());
    QCOMPARE(info.filePath, path);
    QCOMPARE(info.lengthMsec, 0);
    // A readable file clears the reason.
    QVERIFY(info.readTags(fixtures.make(QStringLiteral("fine.wav"), 1000)));
    QVERIFY(info.failureReason.isEmpty());
}

void tst_musicInfo::absurdLengthRefused()
{
    // A header claiming four billion frames: about 3,000 years, whose
    // milliseconds fit no 32-bit field.
    const QString path = fixtures.makeMp3ClaimingFrames(QStringLiteral("absurd.mp3"), 0xFFFFFFF0u);
    QVERIFY(!path.isEmpty());
    // The same file with a sane count is read, so the header itself is fine.
    musicInfo sane;
    QVERIFY(sane.readTags(fixtures.makeMp3ClaimingFrames(QStringLiteral("sane.mp3"), 38282)));
    QCOMPARE(sane.lengthMsec, 1000000); // 1,000 s
    musicInfo info;
    QVERIFY(!info.readTags(path));
    QVERIFY(!info.failureReason.isEmpty());
    QCOMPARE(info.lengthMsec, 0);
    QVERIFY(info.lengthText.isEmpty());
}

// Tag text stored as raw 8-bit bytes comes back from the tag library as
// Latin-1 characters; it must be decoded in the locale's encoding.
void tst_musicInfo::eightBitTagsDecodeThroughLocale_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QString>("text");
    QTest::newRow("Shift_JIS locale") << QByteArray("Shift_JIS") << QStringLiteral("目覚まし");
    QTest::newRow("Latin-1 bytes under UTF-8") << QByteArray("UTF-8") << QStringLiteral("Café");
}

void tst_musicInfo::eightBitTagsDecodeThroughLocale()
{
    QFETCH(QByteArray, locale);
    QFETCH(QString, text);
    QTextCodec *codec = QTextCodec::codecForName(locale);
    QVERIFY(codec);
    const QByteArray bytes = locale == "UTF-8" ? text.toLatin1() : codec->fromUnicode(text);
    const QString path = fixtures.make(QStringLiteral("legacy-%1.flac").arg(QString(locale)), 1000);
    {
        TagLib::FileRef ref(QFile::encodeName(path).constData());
        QVERIFY(!ref.isNull() && ref.tag());
        ref.tag()->setTitle(TagLib::String(bytes.constData(), TagLib::String::Latin1));
        QVERIFY(ref.save());
    }
    QTextCodec *previous = QTextCodec::codecForLocale();
    QTextCodec::setCodecForLocale(codec);
    musicInfo info;
    const bool read = info.readTags(path);
    QTextCodec::setCodecForLocale(previous);
    QVERIFY(read);
    QCOMPARE(info.title, text);
}

QTEST_MAIN(tst_musicInfo)
#include "tst_musicinfo.moc"
