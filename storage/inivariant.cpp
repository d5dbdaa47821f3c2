#include "storage/inivariant.h"

#include <QDataStream>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>

namespace {

QStringList splitArguments(const QString &text, int open)
{
    // "@Rect(1 2 3 4)": the numbers between the parentheses.
    return text.mid(open + 1, text.size() - open - 2).split(QLatin1Char(' '));
}

} // namespace

QVariant iniVariant::fromText(const QString &s)
{
    if (!s.startsWith(QLatin1Char('@')))
        return s;
    if (s.endsWith(QLatin1Char(')'))) {
        if (s.startsWith(QLatin1String("@ByteArray(")))
            return s.toLatin1().mid(11, s.size() - 12);
        if (s.startsWith(QLatin1String("@Variant("))) {
            QByteArray bytes = s.toLatin1().mid(9);
            QDataStream stream(&bytes, QIODevice::ReadOnly);
            stream.setVersion(QDataStream::Qt_4_0);
            QVariant result;
            stream >> result;
            return result;
        }
        if (s.startsWith(QLatin1String("@Rect("))) {
            const QStringList a = splitArguments(s, 5);
            if (a.size() == 4)
                return QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
        } else if (s.startsWith(QLatin1String("@Size("))) {
            const QStringList a = splitArguments(s, 5);
            if (a.size() == 2)
                return QSize(a[0].toInt(), a[1].toInt());
        } else if (s.startsWith(QLatin1String("@Point("))) {
            const QStringList a = splitArguments(s, 6);
            if (a.size() == 2)
                return QPoint(a[0].toInt(), a[1].toInt());
        } else if (s == QLatin1String("@Invalid()")) {
            return QVariant();
        }
    }
    if (s.startsWith(QLatin1String("@@")))
        return s.mid(1);
    return s;
}

QVariant iniVariant::fromList(const QStringList &list)
{
    QStringList plain = list;
    for (QString &item : plain) {
        if (!item.startsWith(QLatin1Char('@')))
            continue;
        if (item.startsWith(QLatin1String("@@"))) {
            item.remove(0, 1);
            continue;
        }
        // One typed entry makes the whole list a list of variants.
        QVariantList variants;
        for (const QString &entry : list)
            variants.append(fromText(entry));
        return variants;
    }
    return plain;
}

QString iniVariant::text(const QVariant &v)
{
    switch (v.userType()) {
    case QMetaType::UnknownType:
        return QStringLiteral("@Invalid()");
    case QMetaType::QByteArray: {
        const QByteArray bytes = v.toByteArray();
        // With its size: a NUL byte must not end the text.
        return QStringLiteral("@ByteArray(") + QString::fromLatin1(bytes.constData(), bytes.size()) + QLatin1Char(')');
    }
    case QMetaType::QString:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
    case QMetaType::Double: {
        QString text = v.toString();
        if (text.startsWith(QLatin1Char('@')))
            text.prepend(QLatin1Char('@'));
        return text;
    }
    case QMetaType::QRect: {
        const QRect r = v.toRect();
        return QStringLiteral("@Rect(%1 %2 %3 %4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }
    case QMetaType::QSize: {
        const QSize s = v.toSize();
        return QStringLiteral("@Size(%1 %2)").arg(s.width()).arg(s.height());
    }
    case QMetaType::QPoint: {
        const QPoint p = v.toPoint();
        return QStringLiteral("@Point(%1 %2)").arg(p.x()).arg(p.y());
    }
    default: {
        QByteArray bytes;
        {
            QDataStream stream(&bytes, QIODevice::WriteOnly);
            stream.setVersion(QDataStream::Qt_4_0);
            stream << v;
        }
        return QStringLiteral("@Variant(") + QString::fromLatin1(bytes.constData(), bytes.size()) + QLatin1Char(')');
    }
    }
}
