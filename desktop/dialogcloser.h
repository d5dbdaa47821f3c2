#pragma once

#include <QObject>

class QDialog;

// A player that quits must not wait for anyone: every box and dialog open is
// answered as Escape answers it (Cancel, No, or the only button), and any
// that opens afterwards, while the closing goes on, is answered as it shows.
// Progress boxes are left alone: they are work that the closing completes.
class dialogCloser : public QObject
{
    Q_OBJECT
public:
    explicit dialogCloser(QObject *parent = nullptr);

    // From now on, for as long as this object lives.
    void closeAll();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static void answer(QDialog *dialog);

    bool watching = false;
};
