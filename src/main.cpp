#include "app/guimetatypes.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

int main(int argc, char *argv[])
{
    // The resources live in the GUI library, which the linker would otherwise leave out.
    Q_INIT_RESOURCE(quillon);
    QApplication app(argc, argv);
    app.setWindowIcon(QIcon(QStringLiteral(":/images/Icon.ico")));

    MainWindow window;
    QTimer::singleShot(100, &window, &MainWindow::useCommandLineArguments);
    window.show();

    // Before the event loop delivers the first queued request to a worker.
    registerMetaTypes();

    return app.exec();
}
