#pragma once

#include <QCoreApplication>
#include <QList>
#include <QPair>
#include <QString>

class QWidget;

// The files one command (add, drop, restore) could not read, told to the
// user in one box after the work instead of one box per file.
class loadReport
{
    Q_DECLARE_TR_FUNCTIONS(loadReport)
public:
    void add(const QString &path, const QString &reason);
    // Another report's failures join this one (one box per command).
    void append(const loadReport &other);
    int count() const;
    QString title() const;
    // One file: its path and reason. More: how many, and the first ten.
    QString text() const;
    // Shows the box when anything failed, without waiting for it to be
    // answered; returns whether it did.
    bool show(QWidget *parent) const;

    static const int listedPaths = 10;

private:
    QList<QPair<QString, QString>> failures;
};
