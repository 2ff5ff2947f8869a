// The yardstick of bench/startup.sh: the least a Qt Widgets program does to show a window of
// the main window's size. An empty widget of the short layout's client size (792 x 399
// pixels), fixed like the main window, in the Fusion style the program uses.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("VELDRUNE bare window"));
    window.setFixedSize(792, 399);
    window.show();
    return QApplication::exec();
}
