#include "library/textpool.h"

void textPool::share(QString &text)
{
    if (text.isEmpty())
        return;
    const auto it = texts.constFind(text);
    if (it != texts.constEnd())
        text = *it;
    else
        texts.insert(text);
}
