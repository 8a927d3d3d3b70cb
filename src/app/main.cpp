#include <QApplication>

#include "app/charlocale.h"
#include "app/program.h"
#include "app/runningmark.h"

int main(int argc, char* argv[]) {
    const kivrel::tRunningMark running;
    kivrel::UseUtf8CharacterType();
    QApplication app(argc, argv);
    const kivrel::KivrelProgram program(app);
    return QApplication::exec();
}
