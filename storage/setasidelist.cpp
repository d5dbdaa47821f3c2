#include "storage/setasidelist.h"

#include "storage/playliststore.h"

#include <QFile>
#include <QObject>

namespace {
const QString causeKey = QStringLiteral("SetAside/cause");
const QString nameKey = QStringLiteral("SetAside/name");
const QString countKey = QStringLiteral("SetAside/count");

const char *const causeNames[] = {"alarm", "load", "clear", "restore"};

QString causeText(setAsideCause cause)
{
    return QString::fromLatin1(causeNames[int(cause)]);
}

setAsideCause causeOf(const QString &text)
{
    for (int i = 0; i < 4; ++i) {
        if (text == QLatin1String(causeNames[i]))
            return setAsideCause(i);
    }
    return setAsideCause::Alarm;
}
} // namespace

setAsideList::setAsideList()
{
    const QString &file = playlistStore::setAsideName();
    if (playlistStore::exists(file)) {
        const QVariantMap notes = playlistStore::notes(file, {causeKey, nameKey, countKey});
        kept = true;
        keptCause = causeOf(notes.value(causeKey).toString());
        keptName = notes.value(nameKey).toString();
        bool counted = false;
        keptCount = notes.value(countKey).toInt(&counted);
        if (!counted)
            keptCount = playlistStore::entries(file).size();
        return;
    }
    // Left by an earlier version: the person's list while an alarm played its own.
    if (playlistStore::exists(playlistStore::asideName())) {
        kept = true;
        keptCause = setAsideCause::Alarm;
        keptCount = playlistStore::entries(playlistStore::asideName()).size();
    }
}

bool setAsideList::has() const
{
    return kept;
}

int setAsideList::count() const
{
    return keptCount;
}

setAsideCause setAsideList::cause() const
{
    return keptCause;
}

QString setAsideList::loadedName() const
{
    return keptName;
}

bool setAsideList::keep(const QList<storedTrack> &replaced, setAsideCause why, const QString &name)
{
    const QVariantMap notes{{causeKey, causeText(why)}, {nameKey, name}, {countKey, replaced.size()}};
    if (!playlistStore::save(playlistStore::setAsideName(), replaced, notes))
        return false;
    // Kept in the new file from now on.
    QFile::remove(playlistStore::filePath(playlistStore::asideName()));
    kept = true;
    keptCount = replaced.size();
    keptCause = why;
    keptName = name;
    return true;
}

QList<storedTrack> setAsideList::swap(const QList<storedTrack> &current)
{
    if (!kept)
        return {};
    const QString file = playlistStore::exists(playlistStore::setAsideName()) ? playlistStore::setAsideName()
                                                                               : playlistStore::asideName();
    const QList<storedTrack> back = playlistStore::entries(file);
    if (!keep(current, setAsideCause::Restore)) {
        // Not written: the list still comes back, but nothing is kept in its place.
        QFile::remove(playlistStore::filePath(file));
        kept = false;
        keptCount = 0;
    }
    return back;
}

QString setAsideList::description() const
{
    if (!kept)
        return QObject::tr("戻せるプレイリストはありません");
    const QString list = keptCount > 0 ? QObject::tr("のプレイリスト（%n 曲）", nullptr, keptCount)
                                       : QObject::tr("の空のプレイリスト");
    // Whole sentences with the list in them, so a language can order them its own way.
    switch (keptCause) {
    case setAsideCause::Alarm:
        return QObject::tr("アラームが鳴らす前%1に戻します").arg(list);
    case setAsideCause::Load:
        return QObject::tr("「%1」を読み込む前%2に戻します").arg(keptName, list);
    case setAsideCause::Clear:
        return QObject::tr("クリアする前%1に戻します").arg(list);
    case setAsideCause::Restore:
        break;
    }
    return QObject::tr("「戻す」の前%1に戻します").arg(list);
}
