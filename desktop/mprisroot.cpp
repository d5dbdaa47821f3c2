#include "desktop/mprisroot.h"

#include "desktop/mprisservice.h"

mprisRoot::mprisRoot(mprisService *service)
    : QDBusAbstractAdaptor(service)
    , service(service)
{
}

QString mprisRoot::identity() const
{
    return QStringLiteral("Vurn");
}

QString mprisRoot::desktopEntry() const
{
    // The installed desktop entry's name without ".desktop".
    return QStringLiteral("org.vurn.vurn");
}

QStringList mprisRoot::supportedUriSchemes() const
{
    return {QStringLiteral("file")};
}

QStringList mprisRoot::supportedMimeTypes() const
{
    // What the add dialog offers.
    return {QStringLiteral("audio/mpeg"), QStringLiteral("audio/x-ms-wma"), QStringLiteral("audio/wav"),
            QStringLiteral("audio/x-wav"), QStringLiteral("audio/ogg"), QStringLiteral("audio/x-vorbis+ogg"),
            QStringLiteral("audio/mp4"), QStringLiteral("audio/x-m4a"), QStringLiteral("audio/flac"),
            QStringLiteral("audio/x-flac"), QStringLiteral("audio/x-tta"), QStringLiteral("audio/x-ape")};
}

void mprisRoot::Raise()
{
    emit service->raiseRequested();
}

void mprisRoot::Quit()
{
    emit service->quitRequested();
}

#include "moc_mprisroot.cpp"
