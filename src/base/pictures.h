#pragma once

#include <QIcon>
#include <QString>

namespace kivrel {

// One of the program's pictures, drawn beforehand at the sizes the windows show it:
// Picture(":/icons/add") holds add-16.png, add-32.png and add-64.png of that resource
// folder, each read when it is first drawn. No SVG renderer and no icon theme is asked.
QIcon Picture(const QString& stem);

}  // namespace kivrel
