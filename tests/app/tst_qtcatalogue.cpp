// Qt's own texts in Japanese: the standard buttons of a box and the file
// dialog read what Qt's installed catalogue says, not Qt's English; a
// language without a catalogue, or none loaded, leaves the English.
#include "app/qtcatalogue.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

#include <memory>

class tst_QtCatalogue : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void standardButtons_data();
    void standardButtons();
    void fileDialog();
    void noCatalogueLeavesEnglish();

private:
    // What the installed catalogue itself says for a text, read apart.
    QString fromCatalogue(const char *context, const char *text);

    QTranslator japanese;
};

void tst_QtCatalogue::initTestCase()
{
    QVERIFY2(japanese.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                           qtCatalogue::folder()),
             "Qt's Japanese catalogue (qttranslations5-l10n) is not installed");
}

QString tst_QtCatalogue::fromCatalogue(const char *context, const char *text)
{
    return japanese.translate(context, text);
}

void tst_QtCatalogue::standardButtons_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("english");
    QTest::newRow("yes") << int(QMessageBox::Yes) << QStringLiteral("&Yes");
    QTest::newRow("no") << int(QMessageBox::No) << QStringLiteral("&No");
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << QStringLiteral("Cancel");
}

void tst_QtCatalogue::standardButtons()
{
    QFETCH(int, button);
    QFETCH(QString, english);
    const QString translated = fromCatalogue("QPlatformTheme", english.toUtf8().constData());
    QVERIFY(!translated.isEmpty());
    QVERIFY(translated != english);
    auto buttonText = [button] {
        QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("t"),
                        QMessageBox::StandardButtons(button));
        return box.button(QMessageBox::StandardButton(button))->text();
    };
    QCOMPARE(buttonText(), english);
    {
        qtCatalogue catalogue;
        QVERIFY(catalogue.show(QLocale(QLocale::Japanese, QLocale::Japan)));
        QCOMPARE(buttonText(), translated);
    }
    QCOMPARE(buttonText(), english); // gone with the catalogue
}

void tst_QtCatalogue::fileDialog()
{
    qtCatalogue catalogue;
    QVERIFY(catalogue.show(QLocale(QLocale::Japanese)));
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto *lookIn = dialog.findChild<QLabel *>(QStringLiteral("lookInLabel"));
    QVERIFY(lookIn);
    const QString translated = fromCatalogue("QFileDialog", "Look in:");
    QVERIFY(translated != QLatin1String("Look in:"));
    QCOMPARE(lookIn->text(), translated);
}

void tst_QtCatalogue::noCatalogueLeavesEnglish()
{
    qtCatalogue catalogue;
    QVERIFY(catalogue.show(QLocale(QLocale::Japanese)));
    // Asked next for a language Qt has no catalogue for: the Japanese goes too.
    QVERIFY(!catalogue.show(QLocale(QLocale::Zulu)));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
}

QTEST_MAIN(tst_QtCatalogue)
#include "tst_qtcatalogue.moc"
