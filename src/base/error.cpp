#include "base/error.h"

#include <cstring>

#include "base/cp1252.h"
#include "base/messages.h"

namespace kivrel {

std::string SystemErrorText(int err) {
    const std::string text = std::strerror(err);
    // A German system's texts are UTF-8 on Linux ("Auf dem Gerät ist kein Speicherplatz
    // mehr verfügbar"), Windows-1252 already on Windows.
    return IsValidUtf8(text) ? Utf8ToCp1252Shown(text) : text;
}

std::string GeneralErrorText(std::string text) {
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    return text;
}

bool RunGuarded(const std::function<void()>& body) {
    std::string text;
    try {
        body();
        return true;
    } catch (const KivrelError& e) {
        text = e.text();
    } catch (const std::exception& e) {
        text = e.what();
    } catch (...) {
        text = "Unbekannter Fehler";
    }
    // A failing box must not take the program down with it.
    try {
        ShowBox(MessageKind::GeneralError, GeneralErrorText(std::move(text)));
    } catch (...) {
    }
    return false;
}

}  // namespace kivrel
