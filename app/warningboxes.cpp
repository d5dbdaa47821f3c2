#include "app/warningboxes.h"

#include <QMessageBox>

warningBoxes::warningBoxes(QWidget *window)
    : QObject(window), window(window)
{
}

void warningBoxes::warn(const QString &title, const QString &text)
{
    if (QMessageBox *box = open.value(title)) {
        if (box->text() != text)
            box->setText(text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, window);
    open.insert(title, &box);
    box.exec();
    open.remove(title);
}

void warningBoxes::tell(const loadReport &report)
{
    if (report.count() == 0)
        return;
    if (isOpen(report.title())) {
        shownReport.append(report);
        warn(report.title(), shownReport.text());
        return;
    }
    shownReport = report;
    const QString title = report.title();
    auto *box = new QMessageBox(QMessageBox::Warning, title, report.text(), QMessageBox::Ok, window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    open.insert(title, box);
    connect(box, &QObject::destroyed, this, [this, title] {
        open.remove(title);
        shownReport = loadReport();
    });
    box->show();
}

bool warningBoxes::isOpen(const QString &title) const
{
    return open.contains(title);
}

#include "moc_warningboxes.cpp"
