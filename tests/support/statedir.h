#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh, empty state folder that vurnSettings uses while this object lives.
class StateDir
{
public:
    StateDir();
    ~StateDir();

    bool isValid() const { return dir.isValid(); }
    QString path() const { return dir.path(); }
    QString filePath(const QString &name) const { return dir.filePath(name); }

    static QByteArray read(const QString &path);
    // Writes the file whole, making its folder first.
    static void write(const QString &path, const QByteArray &bytes);

private:
    QTemporaryDir dir;
};
