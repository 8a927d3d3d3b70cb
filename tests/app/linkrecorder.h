#pragma once

#include <QDesktopServices>
#include <QObject>
#include <QStringList>
#include <QUrl>

namespace kivrel {

// Stands in for the web browser: records every web address the program opens.
class LinkRecorder : public QObject {
    Q_OBJECT

public:
    LinkRecorder() {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open");
    }
    ~LinkRecorder() override {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    }

    QStringList opened;

public slots:
    void open(const QUrl& url) { opened << url.toString(); }
};

}  // namespace kivrel
