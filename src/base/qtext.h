#pragma once

#include <QString>
#include <string>

#include "base/path.h"

// The one crossing between the core's Windows-1252 texts and Qt's QString, and between Qt's
// file names and the core's paths.
namespace kivrel {

QString ToQt(const std::string& cp1252);
// Characters that Windows-1252 cannot hold never reach here: every input field refuses
// them. Should one slip through, it becomes '?' rather than vanishing.
std::string FromQt(const QString& text);

// A file name from Qt (a file dialog's choice) as the system's path: UTF-16 on Windows, the
// bytes Qt's own file functions would use elsewhere. And back, for Qt's file functions.
tPath PathFromQt(const QString& path);
QString PathToQt(const tPath& path);

}  // namespace kivrel
