#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    Q_INIT_RESOURCE(quillon);
    QApplication app(argc, argv);
    app.setWindowIcon(QIcon(":/images/Icon.ico"));
    return 0;
}
