#include "library/loadreport.h"

#include <QMessageBox>

void loadReport::add(const QString &path, const QString &reason)
{
    failures.append(qMakePair(path, reason));
}

void loadReport::append(const loadReport &other)
{
    failures += other.failures;
}

int loadReport::count() const
{
    return failures.size();
}

QString loadReport::title() const
{
    return tr("ファイル読み込みエラー");
}

QString loadReport::text() const
{
    if (failures.isEmpty())
        return QString();
    if (failures.size() == 1)
        return tr("ファイル情報が読み取れませんでした。") + QLatin1Char('\n') + failures.first().first
            + QLatin1String("\n\n") + failures.first().second;
    QString text = tr("%n 個のファイルが読み取れなかったため、追加しませんでした。", nullptr, failures.size());
    text += QLatin1Char('\n');
    for (int i = 0; i < failures.size() && i < listedPaths; ++i)
        text += QLatin1Char('\n') + failures.at(i).first + QStringLiteral("\n    ") + failures.at(i).second;
    if (failures.size() > listedPaths)
        text += QLatin1String("\n\n") + tr("ほか %n 個", nullptr, failures.size() - listedPaths);
    return text;
}

bool loadReport::show(QWidget *parent) const
{
    if (failures.isEmpty())
        return false;
    // Modal as ever, but not waited for: the box comes at the end of work an
    // alarm, the desktop or the tray may change meanwhile (a track started,
    // an add under way), and a nested loop here would run them inside it.
    auto *box = new QMessageBox(QMessageBox::Warning, title(), text(), QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
    return true;
}
