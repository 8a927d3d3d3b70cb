#include <QApplication>

#include "app/charlocale.h"
#include "app/program.h"

int main(int argc, char* argv[]) {
    kivrel::UseUtf8CharacterType();
    QApplication app(argc, argv);
    const kivrel::KivrelProgram program(app);
    return QApplication::exec();
}
