#include "base/qtext.h"

#include <QFile>
#include <type_traits>

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

namespace {

// The system's own form of a file name: wide on Windows, Qt's file-name bytes elsewhere.
// Templates, so that only the system's branch is compiled.
template <class Path>
Path NativePath(const QString& name) {
    if constexpr (std::is_same_v<typename Path::value_type, wchar_t>) {
        return Path(name.toStdWString());
    } else {
        return Path(QFile::encodeName(name).toStdString());
    }
}

template <class Path>
QString NativeName(const Path& path) {
    if constexpr (std::is_same_v<typename Path::value_type, wchar_t>) {
        return QString::fromStdWString(path.native());
    } else {
        return QFile::decodeName(QByteArray::fromStdString(path.native()));
    }
}

}  // namespace

tPath PathFromQt(const QString& path) {
    return NativePath<tPath>(path);
}

QString PathToQt(const tPath& path) {
    return NativeName(path);
}

}  // namespace kivrel
