#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(" ZEL Ostrel KOLV Analog Version 1.03 / 02.11.2005");
    window.resize(900, 600);
    window.show();
    return app.exec();
}
