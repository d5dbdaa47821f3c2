#pragma once

#include <QDialog>

namespace Ui {
class alarm_set_window;
}
class setWindowCore;

// Creates a series of alarms in one go: from a start time, every N minutes, M alarms.
class alarm_set_window : public QDialog
{
    Q_OBJECT
public:
    explicit alarm_set_window(QWidget *parent = nullptr);
    ~alarm_set_window() override;

    void prepare(setWindowCore *target);

private slots:
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
    void on_checkButton_m_f_clicked();
    void on_checkButton_s_s_clicked();
    void on_checkButton_all_clicked();

private:
    setWindowCore *core = nullptr;
    Ui::alarm_set_window *ui;
};
