// The English catalogue is used only when it is whole and ours: a missing,
// damaged or foreign file leaves the Japanese texts, never blank ones.
#include "app/vurncatalogue.h"

#include "support/languagerig.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTest>

class tst_VurnCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void badCatalogue_data();
    void badCatalogue();
    void japaneseNeedsNoCatalogue();
    void countsFollowTheNumber_data();
    void countsFollowTheNumber();
};

void tst_VurnCatalogue::cleanup()
{
    vurnCatalogue::setFoldersOverride({});
}

namespace {

QString mode()
{
    return QCoreApplication::translate("storedChoice", "シャッフル");
}

} // namespace

void tst_VurnCatalogue::badCatalogue_data()
{
    QTest::addColumn<QString>("contents"); // what vurn_en.qm holds
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("shuffle");
    QTest::newRow("the built catalogue") << "built" << int(uiLanguage::English) << "Shuffle";
    QTest::newRow("no file") << "" << int(uiLanguage::Japanese) << "シャッフル";
    QTest::newRow("garbage") << "garbage" << int(uiLanguage::Japanese) << "シャッフル";
    QTest::newRow("cut short") << "truncated" << int(uiLanguage::Japanese) << "シャッフル";
    QTest::newRow("empty file") << "empty" << int(uiLanguage::Japanese) << "シャッフル";
    QTest::newRow("Qt's catalogue in its place") << "foreign" << int(uiLanguage::Japanese) << "シャッフル";
}

void tst_VurnCatalogue::badCatalogue()
{
    QFETCH(QString, contents);
    QFETCH(int, shown);
    QTemporaryDir folder;
    QFile built(LanguageRig::builtFolder() + QStringLiteral("/vurn_en.qm"));
    QVERIFY2(built.open(QIODevice::ReadOnly), qPrintable(built.fileName()));
    const QByteArray real = built.readAll();
    QByteArray bytes;
    if (contents == QLatin1String("built"))
        bytes = real;
    else if (contents == QLatin1String("garbage"))
        bytes = QByteArray(4096, '\x5a');
    else if (contents == QLatin1String("truncated"))
        bytes = real.left(real.size() / 3);
    else if (contents == QLatin1String("foreign")) {
        QFile qt(QLibraryInfo::location(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_de.qm"));
        QVERIFY(qt.open(QIODevice::ReadOnly));
        bytes = qt.readAll();
    }
    if (!contents.isEmpty()) {
        QFile file(folder.filePath(QStringLiteral("vurn_en.qm")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    vurnCatalogue::setFoldersOverride({folder.path()});
    {
        vurnCatalogue catalogue;
        QCOMPARE(int(catalogue.show(uiLanguage::English)), shown);
        QTEST(mode(), "shuffle");
    }
    QCOMPARE(mode(), QStringLiteral("シャッフル")); // gone with the catalogue
}

void tst_VurnCatalogue::japaneseNeedsNoCatalogue()
{
    vurnCatalogue::setFoldersOverride({LanguageRig::builtFolder()});
    vurnCatalogue catalogue;
    QCOMPARE(catalogue.show(uiLanguage::English), uiLanguage::English);
    // Switching back drops the English catalogue.
    QCOMPARE(catalogue.show(uiLanguage::Japanese), uiLanguage::Japanese);
    QCOMPARE(mode(), QStringLiteral("シャッフル"));
}

void tst_VurnCatalogue::countsFollowTheNumber_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("japanese");
    QTest::addColumn<QString>("english");
    QTest::newRow("one") << 1 << "1 曲" << "1 track";
    QTest::newRow("none") << 0 << "0 曲" << "0 tracks";
    QTest::newRow("many") << 22 << "22 曲" << "22 tracks";
}

void tst_VurnCatalogue::countsFollowTheNumber()
{
    QFETCH(int, count);
    QFETCH(QString, japanese);
    QFETCH(QString, english);
    QCOMPARE(QCoreApplication::translate("findBar", "%n 曲", nullptr, count), japanese);
    const LanguageRig language(uiLanguage::English);
    QVERIFY(language.isShown());
    QCOMPARE(QCoreApplication::translate("findBar", "%n 曲", nullptr, count), english);
}

QTEST_MAIN(tst_VurnCatalogue)
#include "tst_vurncatalogue.moc"
