// Finding tracks: every word in title, artist or album, whatever the case and
// the width of the characters.
#include "library/musicinfo.h"
#include "playlist/trackfilter.h"

#include <QtTest>

class tst_TrackFilter : public QObject
{
    Q_OBJECT
private slots:
    void matching_data();
    void matching();
    void nothingToNarrow_data();
    void nothingToNarrow();
    void forgottenTracksAreFoldedAgain();
};

void tst_TrackFilter::matching_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("artist");
    QTest::addColumn<QString>("album");
    QTest::addColumn<bool>("matches");
    const QString none;
    QTest::newRow("part of the title") << "morn" << "Good Morning" << none << none << true;
    QTest::newRow("case") << "GOOD morning" << "Good Morning" << none << none << true;
    QTest::newRow("full-width Latin finds ASCII") << "ＡＢＣ" << "abc song" << none << none << true;
    QTest::newRow("ASCII finds full-width Latin") << "abc" << "ＡＢＣの歌" << none << none << true;
    QTest::newRow("half-width kana finds full-width") << "ｱｲｳ" << "アイウエオ" << none << none << true;
    QTest::newRow("voiced half-width kana") << "ｶﾞｷﾞ" << "ガギグ" << none << none << true;
    QTest::newRow("full-width digits") << "２０２４" << "Live 2024" << none << none << true;
    QTest::newRow("Japanese in the artist") << "歌手" << "朝" << "有名な歌手" << none << true;
    QTest::newRow("words in different fields") << "beatles abbey" << "Come Together" << "The Beatles"
                                                << "Abbey Road" << true;
    QTest::newRow("ideographic space separates words") << "朝　歌手" << "朝の歌" << "歌手" << none << true;
    QTest::newRow("every word must match") << "beatles queen" << "Come Together" << "The Beatles"
                                           << none << false;
    QTest::newRow("a word does not span two fields") << "togetherthe" << "Come Together" << "The Beatles"
                                                     << none << false;
    QTest::newRow("hiragana is not katakana") << "あいう" << "アイウ" << none << none << false;
    QTest::newRow("nothing has it") << "zzz" << "abc" << "def" << "ghi" << false;
    QTest::newRow("a 10,000-character paste") << QString(10000, QLatin1Char('x')) << "xx" << none << none
                                              << false;
}

void tst_TrackFilter::matching()
{
    QFETCH(QString, query);
    QFETCH(QString, title);
    QFETCH(QString, artist);
    QFETCH(QString, album);
    QFETCH(bool, matches);
    musicInfo track;
    track.title = title;
    track.artist = artist;
    track.album = album;
    trackFilter filter;
    QVERIFY(filter.setQuery(query));
    QVERIFY(filter.isActive());
    QCOMPARE(filter.matches(&track), matches);
}

void tst_TrackFilter::nothingToNarrow_data()
{
    QTest::addColumn<QString>("query");
    QTest::newRow("empty") << QString();
    QTest::newRow("spaces") << "   ";
    QTest::newRow("ideographic spaces and tabs") << "　\t　";
}

void tst_TrackFilter::nothingToNarrow()
{
    QFETCH(QString, query);
    trackFilter filter;
    filter.setQuery(query);
    QVERIFY(!filter.isActive());
    musicInfo track;
    track.title = QStringLiteral("anything");
    QVERIFY(filter.matches(&track));
}

void tst_TrackFilter::forgottenTracksAreFoldedAgain()
{
    musicInfo track;
    track.title = QStringLiteral("old title");
    trackFilter filter;
    filter.setQuery(QStringLiteral("old"));
    QVERIFY(filter.matches(&track));
    QVERIFY(!filter.setQuery(QStringLiteral(" old ")));
    track.title = QStringLiteral("new title");
    QVERIFY(filter.matches(&track)); // kept between keystrokes
    filter.forgetTracks();
    QVERIFY(!filter.matches(&track));
}

QTEST_MAIN(tst_TrackFilter)
#include "tst_trackfilter.moc"
