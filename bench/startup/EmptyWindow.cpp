// The floor of the start-up benchmark: an empty Qt 6 Widgets window of quorvel's size, built with the
// same compiler and flags as quorvel.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1400, 788);
    window.show();
    return app.exec();
}
