// The playback controller's volume: the texts of the volume button, the
// slider and the level it sets, and mute.
#include "playlist/vurncore.h"
#include "support/controllerrig.h"

#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <memory>

class tst_VurnCoreVolume : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void volumeText_data();
    void volumeText();
    void volumeAndMute();

private:
    std::unique_ptr<ControllerRig> rig;
    vurnCore *core = nullptr;
};

void tst_VurnCoreVolume::init()
{
    rig = std::make_unique<ControllerRig>();
    core = rig->core.get();
}

void tst_VurnCoreVolume::cleanup()
{
    rig.reset();
    core = nullptr;
}

void tst_VurnCoreVolume::volumeText_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "vol:00";
    QTest::newRow("5") << 5 << "vol:05";
    QTest::newRow("9") << 9 << "vol:09";
    QTest::newRow("10") << 10 << "vol:10";
    QTest::newRow("42") << 42 << "vol:42";
    QTest::newRow("100") << 100 << "vol:100";
    QTest::newRow("101") << 101 << "vol:0101";
}

void tst_VurnCoreVolume::volumeText()
{
    QFETCH(int, percent);
    QFETCH(QString, text);
    QCOMPARE(core->volumeText(percent), text);
}

void tst_VurnCoreVolume::volumeAndMute()
{
    QPushButton button;
    QSlider slider;
    slider.setRange(0, 100);

    core->setVolumePercent(70, &button, &slider);
    QCOMPARE(button.text(), QStringLiteral("vol:70"));
    QCOMPARE(slider.value(), 70);
    QCOMPARE(core->volume(), 0.70); // what was set, not what the backend reads back

    // A fade-in step: rounded up to the next whole percent, but 0.07 stays 7.
    core->setVolumeLevel(0.421, &button, &slider);
    QCOMPARE(button.text(), QStringLiteral("vol:43"));
    QCOMPARE(slider.value(), 43);
    QCOMPARE(core->volume(), 0.421);
    core->setVolumeLevel(0.07, &button, &slider);
    QCOMPARE(button.text(), QStringLiteral("vol:07"));
    QCOMPARE(slider.value(), 7);

    core->setVolumePercent(5, &button, &slider);
    core->toggleMute(&button);
    QCOMPARE(button.text(), QStringLiteral("mute"));
    // Muted: the volume, the text and the slider all stay.
    core->setVolumePercent(60, &button, &slider);
    core->setVolumeLevel(0.9, &button, &slider);
    QCOMPARE(button.text(), QStringLiteral("mute"));
    QCOMPARE(slider.value(), 5);
    QCOMPARE(core->volume(), 0.05);
    core->toggleMute(&button);
    QCOMPARE(button.text(), QStringLiteral("vol:5"));
    QCOMPARE(core->volume(), 0.05);
    core->setVolumePercent(60, &button, &slider);
    QCOMPARE(button.text(), QStringLiteral("vol:60"));
}

QTEST_MAIN(tst_VurnCoreVolume)
#include "tst_vurncorevolume.moc"
