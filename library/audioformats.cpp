#include "library/audioformats.h"

#include <taglib/fileref.h>

QStringList audioFormats::suffixes()
{
    // The long-offered names first, so the filter reads as it always did.
    QStringList names = {QStringLiteral("mp3"), QStringLiteral("wma"), QStringLiteral("wav"),
                         QStringLiteral("ogg"), QStringLiteral("oga"), QStringLiteral("m4a"),
                         QStringLiteral("mpa"), QStringLiteral("m2a"), QStringLiteral("flac"),
                         QStringLiteral("tta"), QStringLiteral("ape"), QStringLiteral("opus"),
                         QStringLiteral("mp2")};
    const TagLib::StringList known = TagLib::FileRef::defaultFileExtensions();
    for (const TagLib::String &suffix : known) {
        const QString name = QString::fromUtf8(suffix.toCString(true)).toLower();
        if (!names.contains(name))
            names << name;
    }
    return names;
}

QString audioFormats::patterns()
{
    QStringList globs;
    for (const QString &suffix : suffixes())
        globs << QStringLiteral("*.") + suffix;
    return globs.join(QLatin1Char(' '));
}
