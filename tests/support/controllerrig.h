#pragma once

#include <QAction>
#include <QLabel>
#include <QSlider>
#include <QTableView>

#include <memory>

class vurnCore;

// The playback controller wired to the five widgets the main window would
// hand it, for tests that drive the controller alone.
class ControllerRig
{
public:
    ControllerRig();
    // Stops playback, then lets the controller go before its widgets.
    ~ControllerRig();

    QLabel title;
    QAction play{QStringLiteral("♪")};
    QLabel time;
    QSlider seek;
    QTableView table;
    std::unique_ptr<vurnCore> core;
};
