#include "support/controllerrig.h"

#include "playlist/vurncore.h"

ControllerRig::ControllerRig()
    : core(std::make_unique<vurnCore>())
{
    core->setWidgets(&title, &play, &time, &seek, &table);
}

ControllerRig::~ControllerRig()
{
    core->stopPlayback(&play);
    core.reset();
}
