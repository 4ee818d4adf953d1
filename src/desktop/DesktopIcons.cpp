#include "desktop/DesktopIcons.h"

#include <QApplication>
#include <QFile>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>
#include <algorithm>
#include <map>
#include <memory>

// The resources live in a static library, where nothing else pulls them in. (Outside any
// namespace: the macro declares the resource's initialiser.)
static int InitDesktopResources() {
    Q_INIT_RESOURCE(desktop);
    return 0;
}

static void InitResources() {
    static const int kDone = InitDesktopResources();
    (void)kDone;
}

namespace {

/// One of our SVG drawings, read when it is first drawn (the window's first paint should
/// not wait for images it does not show yet) and drawn at exactly the pixel size asked
/// for: a toolbar icon at 1.5 times is 24 pixels drawn from the vector, not a 16- or
/// 32-pixel image scaled.
class SvgIconEngine : public QIconEngine {
public:
    explicit SvgIconEngine(QString path) : m_path(std::move(path)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        (void)state;
        if (size.isEmpty()) return QPixmap();
        const QString key = QStringLiteral("%1x%2/%3").arg(size.width()).arg(size.height()).arg(int(mode));
        auto it = m_cache.find(key);
        if (it != m_cache.end()) return it->second;
        QPixmap pm = Render(size);
        if (mode != QIcon::Normal && !pm.isNull()) {
            QStyleOption opt;
            opt.palette = QApplication::palette();
            pm = QApplication::style()->generatedIconPixmap(mode, pm, &opt);
        }
        return m_cache.emplace(key, pm).first->second;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device()->devicePixelRatioF();
        QPixmap pm = pixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state);
        pm.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), pm);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int n = std::min(size.width(), size.height());
        return QSize(n, n);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {}; }

    QIconEngine* clone() const override { return new SvgIconEngine(m_path); }
    QString key() const override { return QStringLiteral("CSvgIconEngine"); }

    bool isNull() override { return !Renderer().isValid(); }

private:
    QSvgRenderer& Renderer() {
        if (!m_renderer) m_renderer = std::make_unique<QSvgRenderer>(m_path);
        return *m_renderer;
    }

    /// The drawing centred in a transparent square of that size.
    QPixmap Render(const QSize& size) {
        QSvgRenderer& renderer = Renderer();
        if (!renderer.isValid()) return QPixmap();
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QSizeF drawn = renderer.defaultSize();
        drawn.scale(QSizeF(size), Qt::KeepAspectRatio);
        QPainter painter(&image);
        renderer.render(
            &painter,
            QRectF(QPointF((size.width() - drawn.width()) / 2.0, (size.height() - drawn.height()) / 2.0), drawn));
        painter.end();
        return QPixmap::fromImage(std::move(image));
    }

    QString m_path;
    std::unique_ptr<QSvgRenderer> m_renderer;
    std::map<QString, QPixmap> m_cache;
};

QIcon SvgIcon(const QString& name) {
    InitResources();
    const QString path = QStringLiteral(":/icons/") + name + QStringLiteral(".svg");
    if (!QFile::exists(path)) return QIcon();
    return QIcon(new SvgIconEngine(path));
}

}  // namespace

QIcon OwnIcon(const QString& name) { return SvgIcon(name); }

QIcon ThemedIcon(const QString& name) { return QIcon::fromTheme(name, OwnIcon(name)); }

QIcon AppIcon() { return SvgIcon(QStringLiteral("nelo")); }
