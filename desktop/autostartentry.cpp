#include "desktop/autostartentry.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
const char fileName[] = "org.vurn.vurn.desktop";
}

autostartEntry::autostartEntry(const QString &autostartFolder) : folder(autostartFolder)
{
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart");
}

QString autostartEntry::filePath() const
{
    return folder + QLatin1Char('/') + QLatin1String(fileName);
}

bool autostartEntry::isEnabled() const
{
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Desktops switch an entry off in place rather than delete it.
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &raw : lines) {
        const QByteArray line = raw.trimmed();
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false")
            return false;
    }
    return true;
}

bool autostartEntry::setEnabled(bool enabled, const QString &executable)
{
    if (!enabled)
        return !QFile::exists(filePath()) || QFile::remove(filePath());
    if (!QDir().mkpath(folder))
        return false;
    QSaveFile file(filePath());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(entryText(executable).toUtf8());
    return file.commit();
}

QString autostartEntry::entryText(const QString &executable)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Vurn\n"
                          "Comment=Starts at login for the alarms\n"
                          "Comment[ja]=アラームのためにログイン時に起動します\n"
                          "Exec=%1 %2\n"
                          "Icon=org.vurn.vurn\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(quotedArgument(executable), QLatin1String(trayOption));
}

QString autostartEntry::quotedArgument(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool plain = !argument.isEmpty();
    for (const QChar c : argument)
        plain = plain && !reserved.contains(c);
    if (plain)
        return argument.contains(QLatin1Char('%')) ? QString(argument).replace(QLatin1Char('%'), QLatin1String("%%"))
                                                   : argument;
    QString quoted;
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    // Inside the file's string value a backslash is itself escaped.
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}
