#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// QSettings' notation for values that are not plain text: "@ByteArray(…)",
// "@Variant(…)", "@Rect(…)", "@Size(…)", "@Point(…)", "@Invalid()", and a
// leading "@" doubled in text, in both directions.
class iniVariant
{
public:
    static QVariant fromText(const QString &text);
    // A list read from one line: one typed entry makes all of them variants.
    static QVariant fromList(const QStringList &list);
    static QString text(const QVariant &value);
};
