#include "base/qtboxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "base/cp1252.h"
#include "base/qtext.h"

namespace kivrel {

namespace {

// The program's texts break lines with a carriage return, as Windows boxes do; Qt's plain
// text breaks only at a line feed.
QString BoxText(const std::string& text) {
    // A path's letters beyond Windows-1252 come marked; the box shows them as they are.
    QString qt = QString::fromStdString(MarkedToUtf8(text));
    qt.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    qt.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return qt;
}

}  // namespace

bool QtBoxes::Show(MessageKind kind, const std::string& text) {
    QMessageBox box(QApplication::activeWindow());
    // Names, places and paths are shown as typed, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(BoxText(text));
    QPushButton* accept = nullptr;
    switch (kind) {
        case MessageKind::Warning:
            box.setWindowTitle(QStringLiteral("Warnung"));
            box.setIcon(QMessageBox::Warning);
            accept = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
            break;
        case MessageKind::Confirmation:
            box.setWindowTitle(QStringLiteral("Bestätigung"));
            box.setIcon(QMessageBox::Question);
            accept = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
            box.setEscapeButton(
                box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole));
            break;
        case MessageKind::Replace:
            box.setWindowTitle(QStringLiteral("Warnung"));
            box.setIcon(QMessageBox::Warning);
            accept = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
            box.setEscapeButton(box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole));
            break;
        case MessageKind::Error:
            box.setWindowTitle(QStringLiteral("Fehler"));
            box.setIcon(QMessageBox::Critical);
            accept = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
            break;
        case MessageKind::GeneralError:
            box.setWindowTitle(QStringLiteral("Kivrel"));
            box.setIcon(QMessageBox::Critical);
            accept = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
            break;
    }
    box.setDefaultButton(accept);
    box.exec();
    return box.clickedButton() == accept;
}

}  // namespace kivrel
