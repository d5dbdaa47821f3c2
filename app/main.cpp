#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Names the per-user configuration folder (~/.config/Vurn) used when the
    // program folder is read-only.
    QApplication::setApplicationName(QStringLiteral("Vurn"));
    QApplication::setQuitOnLastWindowClosed(true);
    // Qt 5 decodes tr() literals as UTF-8, which is how the sources store them.
    int result;
    {
        MainWindow window;
        window.show();
        result = app.exec();
    }
    return result;
}
