#pragma once

#include <QDialog>

#include "app/versioninfo.h"

class QFrame;
class QIcon;
class QLabel;
class QPixmap;
class QPushButton;
class QSize;
class QString;

namespace kivrel {

// One of the program's pictures (":/app/kivrel", ":/app/splash") at size.
QPixmap DrawPicture(const QString& stem, const QSize& size);
// The program's icon in the sizes that title bars, task bars and this window use.
QIcon KivrelIcon();

// The About window: name, edition, version, the maker's notice and web address. The one
// created at start lives for the whole run; the main window's menu shows it by Execute().
class TfrmAbout : public QDialog {
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget* parent = nullptr);
    ~TfrmAbout() override;

    // Shows the About window of the run modally and returns its result (Accepted after
    // "OK"). Without one from the start, a window is made for this showing.
    static int Execute();
    // Reads the version again and shows this window modally.
    int ShowModal();

    QFrame* Panel1;
    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* lblEdition;
    QLabel* Copyright;
    QLabel* Label1;
    QLabel* lblVersion;
    QLabel* Label2;
    QLabel* Comments;
    QPushButton* OKButton;
    TVersionInfo VersionInfo1;

public slots:
    void FormShow();
    void Label2Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The maker's copyright line, as the About window and the welcome notice show it.
QString CopyrightLine();

}  // namespace kivrel
