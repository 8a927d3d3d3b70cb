#include "base/qtext.h"

#include "base/cp1252.h"

namespace kivrel {

QString ToQt(const std::string& cp1252) {
    QString out;
    out.reserve(static_cast<qsizetype>(cp1252.size()));
    for (const char c : cp1252) {
        const auto cp = Cp1252ToUnicode(static_cast<unsigned char>(c));
        out += QChar(static_cast<char16_t>(cp.value_or(0xFFFD)));
    }
    return out;
}

std::string FromQt(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar ch : text) {
        out += static_cast<char>(UnicodeToCp1252(ch.unicode()).value_or('?'));
    }
    return out;
}

bool FitsCp1252(const QString& text) {
    for (const QChar ch : text) {
        if (!UnicodeToCp1252(ch.unicode()))
            return false;
    }
    return true;
}

QString KeepCp1252(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        if (UnicodeToCp1252(ch.unicode()))
            out += ch;
    }
    return out;
}

}  // namespace kivrel
