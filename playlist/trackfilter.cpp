#include "playlist/trackfilter.h"

#include "library/musicinfo.h"

#include <QRegularExpression>

#include <algorithm>

QString trackFilter::fold(const QString &text)
{
    bool plain = true;
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            plain = false;
            break;
        }
    }
    // Compatibility normalisation maps full-width Latin and half-width kana
    // (with their voicing marks) onto the usual forms.
    return plain ? text.toLower() : text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

bool trackFilter::setQuery(const QString &text)
{
    static const QRegularExpression spaces(QStringLiteral("\\s+"));
    QStringList next = fold(text).split(spaces, Qt::SkipEmptyParts);
    next.removeDuplicates();
    std::stable_sort(next.begin(), next.end(),
                     [](const QString &a, const QString &b) { return a.size() > b.size(); });
    if (next == words)
        return false;
    words = next;
    return true;
}

bool trackFilter::matches(const musicInfo *track)
{
    if (words.isEmpty())
        return true;
    if (!track)
        return false;
    auto it = folded.find(track);
    if (it == folded.end()) {
        // A newline cannot be typed into the field, so no word spans two fields.
        const QString title = track->title.isEmpty() ? track->baseName : track->title;
        it = folded.insert(track, fold(title + QLatin1Char('\n') + track->artist + QLatin1Char('\n') + track->album));
    }
    const QString &text = it.value();
    for (const QString &word : words) {
        if (!text.contains(word))
            return false;
    }
    return true;
}

void trackFilter::forgetTracks()
{
    folded.clear();
}
