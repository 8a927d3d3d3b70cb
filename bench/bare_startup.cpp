// The least Qt program with a main window like the program's: a menu, a tool bar and a
// table. It prints the moment of its main window's first paint on the monotonic clock and
// ends, so that bench_startup can set the program's start beside Qt's own.
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTableWidget>
#include <QToolBar>

#include "firstpaint.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&Datei"));
    QAction* quit = file->addAction(QStringLiteral("&Beenden"));
    QToolBar* tools = window.addToolBar(QStringLiteral("Werkzeuge"));
    tools->addAction(quit);
    auto* table = new QTableWidget(1, 8, &window);
    window.setCentralWidget(table);
    window.resize(632, 460);
    FirstPaint watch(window);
    app.installEventFilter(&watch);
    window.show();
    return QApplication::exec();
}
