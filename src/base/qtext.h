#pragma once

#include <QString>
#include <string>

// The one crossing between the core's Windows-1252 texts and Qt's QString.
namespace kivrel {

QString ToQt(const std::string& cp1252);
// Characters that Windows-1252 cannot hold never reach here: every input field refuses
// them. Should one slip through, it becomes '?' rather than vanishing.
std::string FromQt(const QString& text);

// True when every character of text has a Windows-1252 byte.
bool FitsCp1252(const QString& text);
// text without the characters that Windows-1252 cannot hold.
QString KeepCp1252(const QString& text);

}  // namespace kivrel
