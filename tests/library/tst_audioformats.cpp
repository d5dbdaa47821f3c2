// Every format the player reads and plays is one the add dialog offers:
// each file is made in that format, read by the tag reader as an add reads
// it, and its suffix looked for in the offered list.
#include "library/audioformats.h"
#include "library/tagreader.h"
#include "support/audiofixtures.h"

#include <QFileInfo>
#include <QTest>

class tst_AudioFormats : public QObject
{
    Q_OBJECT
private slots:
    void offeredFormatsPlay_data();
    void offeredFormatsPlay();

private:
    AudioFixtures fixtures;
};

void tst_AudioFormats::offeredFormatsPlay_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"a.wav", "a.flac", "a.mp3", "a.ogg", "a.oga", "a.opus", "a.m4a", "a.wma", "a.tta",
                             "a.mpa", "a.m2a"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void tst_AudioFormats::offeredFormatsPlay()
{
    QFETCH(QString, name);
    const QString path = fixtures.makeSweep(name, 2000, 300, 600);
    QVERIFY2(!path.isEmpty(), "the fixture could not be encoded");
    const tagReading reading = tagReader::read(path);
    QVERIFY2(!reading.failure, reading.failure);
    QVERIFY(reading.lengthMsec > 0);
    QVERIFY2(audioFormats::suffixes().contains(QFileInfo(path).suffix()), qPrintable(name));
}

QTEST_MAIN(tst_AudioFormats)
#include "tst_audioformats.moc"
