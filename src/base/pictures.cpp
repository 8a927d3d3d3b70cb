#include "base/pictures.h"

#include <QDir>
#include <QIconEngine>
#include <QPainter>
#include <algorithm>
#include <iterator>
#include <map>
#include <set>

namespace kivrel {

namespace {

// Decodes a size only when it is first drawn: the start would otherwise read every size of
// every picture, the splash picture at twice its size among them.
class PictureEngine : public QIconEngine {
public:
    explicit PictureEngine(std::map<int, QString> files) : files_(std::move(files)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Loaded(size).pixmap(size, mode, state);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal scale = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        Loaded(rect.size() * scale).paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Loaded(size).actualSize(size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        QList<QSize> sizes;
        if (mode == QIcon::Normal && state == QIcon::Off) {
            for (const auto& [side, file] : files_)
                sizes.append(QSize(side, side));
        }
        return sizes;
    }

    QIconEngine* clone() const override { return new PictureEngine(*this); }
    QString key() const override { return QStringLiteral("KivrelPicture"); }

private:
    // The pictures decoded so far, with the one that suits size among them: the smallest
    // that is at least as large, else the largest.
    const QIcon& Loaded(const QSize& size) {
        auto best = files_.lower_bound(std::max(size.width(), size.height()));
        if (best == files_.end())
            best = std::prev(files_.end());
        if (added_.insert(best->first).second)
            loaded_.addFile(best->second);
        return loaded_;
    }

    std::map<int, QString> files_;  // by side length
    std::set<int> added_;
    QIcon loaded_;
};

}  // namespace

QIcon Picture(const QString& stem) {
    const qsizetype slash = stem.lastIndexOf(u'/');
    const QDir folder(stem.left(slash));
    const QString name = stem.mid(slash + 1);
    std::map<int, QString> files;
    for (const QString& file : folder.entryList({name + QStringLiteral("-*.png")}, QDir::Files)) {
        bool number = false;
        const int side = file.sliced(name.size() + 1).chopped(4).toInt(&number);
        if (number && side > 0)
            files.emplace(side, folder.filePath(file));
    }
    if (files.empty())
        return QIcon();
    return QIcon(new PictureEngine(std::move(files)));
}

}  // namespace kivrel
