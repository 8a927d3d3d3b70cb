#include "app/tfrmabout.h"

#include <algorithm>

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>

#include "app/weblink.h"
#include "base/accessible.h"
#include "base/buildinfo.h"
#include "base/error.h"
#include "base/fonts.h"
#include "base/pictures.h"
#include "base/qtext.h"

// The pictures sit in a static library, so nothing pulls them in unless asked by name; the
// name lives outside any namespace.
static void LoadAppResources() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(app);
        return true;
    }();
    (void)loaded;
}

namespace kivrel {

namespace {

// The About window of the run: the one created at start.
TfrmAbout* runWindow = nullptr;

QLabel* MakeLabel(QWidget* parent, const char* name, int x, int y, const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(x, y);
    label->adjustSize();
    return label;
}

void SetText(QLabel* label, const QString& text) {
    label->setText(text);
    label->adjustSize();
}

// Word-wrapped: as wide as given, as high as the text needs.
void FitWrapped(QLabel* label, int width) {
    label->setWordWrap(true);
    label->resize(width, label->heightForWidth(width));
}

}  // namespace

QString CopyrightLine() {
    return QStringLiteral("Copyright © %1 %2")
        .arg(QLatin1String(buildinfo::kCopyrightYears), QLatin1String(buildinfo::kRightsHolder));
}

QPixmap DrawPicture(const QString& stem, const QSize& size) {
    LoadAppResources();
    return Picture(stem).pixmap(size);
}

QIcon KivrelIcon() {
    LoadAppResources();
    return Picture(QStringLiteral(":/app/kivrel"));
}

TfrmAbout::TfrmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("TfrmAbout"));
    setWindowTitle(QStringLiteral("Info"));
    setFixedSize(297, 213);

    // A lowered outer and a raised inner bevel.
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(8, 8, 281, 161);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* inner = new QFrame(Panel1);
    inner->setGeometry(1, 1, 279, 159);
    inner->setFrameStyle(QFrame::Panel | QFrame::Raised);

    ProgramIcon = MakeLabel(Panel1, "ProgramIcon", 10, 18);
    ProgramIcon->resize(32, 32);
    ProgramIcon->setScaledContents(true);
    ProductName = MakeLabel(Panel1, "ProductName", 82, 16, QStringLiteral("Kivrel 4"));
    lblEdition = MakeLabel(Panel1, "lblEdition", 82, 30);
    QFont edition = ArialFont();
    edition.setPixelSize(13);
    edition.setBold(true);
    edition.setItalic(true);
    lblEdition->setFont(edition);
    Copyright = MakeLabel(Panel1, "Copyright", 8, 64, CopyrightLine());
    FitWrapped(Copyright, 248);
    Label1 = MakeLabel(Panel1, "Label1", 10, 82, QStringLiteral("Version"));
    lblVersion = MakeLabel(Panel1, "lblVersion", 82, 82);

    Label2 = MakeLabel(Panel1, "Label2", 82, 104,
                       QUrl(QString::fromLatin1(buildinfo::kWebAddress)).host());
    ShowAsLink(*Label2);
    // Never narrower than its place, never so narrow that the address is cut off.
    Label2->resize(std::max(100, Label2->sizeHint().width()),
                   std::max(13, Label2->sizeHint().height()));
    Label2->installEventFilter(this);

    Comments = MakeLabel(Panel1, "Comments", 8, 136, QStringLiteral("Alle Rechte vorbehalten."));
    FitWrapped(Comments, 265);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(111, 180, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    runWindow = this;
}

TfrmAbout::~TfrmAbout() {
    if (runWindow == this)
        runWindow = nullptr;
}

int TfrmAbout::Execute() {
    if (runWindow)
        return runWindow->ShowModal();
    TfrmAbout window(QApplication::activeWindow());
    return window.ShowModal();
}

int TfrmAbout::ShowModal() {
    FormShow();
    return exec();
}

void TfrmAbout::FormShow() {
    SetText(lblEdition, QStringLiteral("OsmiraEdition"));
    // Stays when the program file's version cannot be read.
    SetText(lblVersion, QStringLiteral("4.2"));
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = KivrelIcon();
    ProgramIcon->setPixmap(icon.pixmap(32, 32));
    RunGuarded([this] {
        // Backslashes on Windows, where the messages name the path too.
        VersionInfo1.SetFilename(
            PathFromQt(QDir::toNativeSeparators(QCoreApplication::applicationFilePath())));
        SetText(lblVersion, ToQt(VersionInfo1.FileVersion()));
    });
}

void TfrmAbout::Label2Click() {
    RunGuarded([] { OpenWebLink(buildinfo::kWebAddress); });
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label2 && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            Label2->rect().contains(mouse->position().toPoint())) {
            Label2Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kivrel
