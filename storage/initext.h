#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

// The text of QSettings' INI files (UTF-8 codec), read and written without a
// QSettings object: files written here read back unchanged through QSettings
// and the other way round, so older versions and other tools keep reading
// the state files.
class iniText
{
public:
    // One logical line of `data` from `pos` on: its start and length (blank
    // lines and comment lines skipped, quoted line breaks kept), and where its
    // first unquoted '=' is (-1: none). False at the end of the data.
    static bool nextLine(const QByteArray &data, int &pos, int &lineStart, int &lineLen, int &equalsPos);

    static void appendKey(QByteArray &out, const QString &key);
    static QString key(const char *data, int length);
    // A section name as QSettings reads it: empty for the top level
    // ("[General]"), else the group name.
    static QString sectionName(const char *data, int length);
    static void appendSection(QByteArray &out, const QString &group);

    // The escaped form of text already in QSettings' notation ("@ByteArray(…)").
    static void appendString(QByteArray &out, const QString &text);
    // A string value.
    static void appendText(QByteArray &out, const QString &text);
    static void appendValue(QByteArray &out, const QVariant &value);
    static QVariant value(const char *data, int length);
    // A value read as text: a list (an unquoted comma) joined again.
    static QString stringValue(const char *data, int length);
};
