#include "support/statedir.h"

#include "storage/vurnsettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

StateDir::StateDir()
{
    vurnSettings::setStateDirectoryOverride(dir.path());
}

StateDir::~StateDir()
{
    vurnSettings::setStateDirectoryOverride(QString());
}

QByteArray StateDir::read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void StateDir::write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}
