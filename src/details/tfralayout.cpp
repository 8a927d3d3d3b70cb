#include "details/tfralayout.h"

#include <QLineEdit>

#include "base/accessible.h"
#include "base/cp1252.h"
#include "base/inputfield.h"
#include "base/qtext.h"
#include "base/textrules.h"
#include "participants/dialoglayout.h"

namespace kivrel {

QLineEdit* AddFrameEdit(QWidget* frame, const QString& caption, int x, int y, int width,
                        int maxLength, KeyPressFilter keyPress) {
    auto* edit = new QLineEdit(frame);
    edit->setGeometry(x, y, width, kEditHeight);
    UseLengthLimit(*edit, maxLength);
    UseInputRules(*edit, std::move(keyPress));
    AddLabel(frame, caption, edit, 8);
    return edit;
}

bool RefuseBlank(const QString& text, const char* message, QWidget* field) {
    if (!IsBlank(FromQt(text)))
        return false;
    RefuseInput(*field, Win1252(message));
    return true;
}

}  // namespace kivrel
