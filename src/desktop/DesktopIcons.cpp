#include "desktop/DesktopIcons.h"

#include <QApplication>
#include <QFile>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <map>
#include <vector>

// The resources live in a static library, where nothing else pulls them in. (Outside any
// namespace: the macro declares the resource's initialiser.)
static int InitDesktopResources() {
    Q_INIT_RESOURCE(desktop);
    return 0;
}

static void InitResources() {
    static const int nDone = InitDesktopResources();
    (void)nDone;
}

namespace {

/// Our icons at the sizes we drew, each file read when it is first drawn: a QIcon made
/// with addFile reads every file at once, and the window's first paint should not wait
/// for images it does not show yet.
class CLazyIconEngine : public QIconEngine {
public:
    /// files: size in pixels to resource path, smallest first.
    explicit CLazyIconEngine(std::vector<std::pair<int, QString>> files) : m_files(std::move(files)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const QString& path = BestFile(size);
        const QString key = path + QLatin1Char('/') + QString::number(int(mode));
        auto it = m_cache.find(key);
        if (it == m_cache.end()) {
            QPixmap pm(path);
            if (mode != QIcon::Normal && !pm.isNull()) {
                QStyleOption opt;
                opt.palette = QApplication::palette();
                pm = QApplication::style()->generatedIconPixmap(mode, pm, &opt);
            }
            it = m_cache.emplace(key, pm).first;
        }
        (void)state;
        QPixmap pm = it->second;
        if (!pm.isNull() && pm.size() != size && (pm.width() > size.width() || pm.height() > size.height()))
            pm = pm.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return pm;
    }

    void paint(QPainter* pPainter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        pPainter->drawPixmap(rect, pixmap(rect.size() * pPainter->device()->devicePixelRatio(), mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        int n = 0;
        for (const auto& f : m_files)
            if (f.first <= size.width() && f.first <= size.height()) n = f.first;
        if (n == 0 && !m_files.empty()) n = std::min(size.width(), size.height());
        return QSize(n, n);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const auto& f : m_files) sizes << QSize(f.first, f.first);
        return sizes;
    }

    QIconEngine* clone() const override { return new CLazyIconEngine(m_files); }
    QString key() const override { return QStringLiteral("CLazyIconEngine"); }

private:
    /// The smallest drawing at least as large as size, else the largest.
    const QString& BestFile(const QSize& size) const {
        const int want = std::max(size.width(), size.height());
        for (const auto& f : m_files)
            if (f.first >= want) return f.second;
        return m_files.back().second;
    }

    std::vector<std::pair<int, QString>> m_files;
    std::map<QString, QPixmap> m_cache;
};

QIcon LazyIcon(const QString& pattern, std::initializer_list<int> sizes) {
    InitResources();
    std::vector<std::pair<int, QString>> files;
    for (int size : sizes) {
        const QString path = pattern.arg(size);
        if (QFile::exists(path)) files.emplace_back(size, path);
    }
    if (files.empty()) return QIcon();
    return QIcon(new CLazyIconEngine(std::move(files)));
}

}  // namespace

QIcon OwnIcon(const QString& name) {
    return LazyIcon(QStringLiteral(":/icons/png/") + name + QStringLiteral("-%1.png"), {16, 32});
}

QIcon ThemedIcon(const QString& name) { return QIcon::fromTheme(name, OwnIcon(name)); }

QIcon AppIcon() { return LazyIcon(QStringLiteral(":/icons/png/nelo-%1.png"), {16, 32, 48, 64, 128, 256}); }
