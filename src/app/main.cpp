#include <QApplication>

#include "app/program.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const kivrel::KivrelProgram program(app);
    return QApplication::exec();
}
