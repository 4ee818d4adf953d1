// The window comes back where the user left it: placement and bar visibility are kept
// in the profile's "Window size" section and the "Nelo-Bar" sections. Rectangles are the
// window's frame, title bar and borders included, as the user sees the window: the
// frame is placed, never with its title bar off the screen, and the window manager's
// decorations are measured once it has put them on.
#include "desktop/MainWindow.h"

#include "app/NotebookSession.h"
#include "app/WindowPlacement.h"
#include "desktop/WindowSlot.h"

#include <QGuiApplication>
#include <QMoveEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

using namespace nelo;

namespace {

/// How far a second window, opened while the first is, is set off from it.
constexpr int kCascade = 32;
/// How long after the first show the window waits for the window manager's frame.
constexpr int kFrameWaitMs = 3000;

/// Where the compositor decides window positions (Wayland), only the size and the
/// maximised state can come back.
bool PositionsDecidedByPlatform() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

PlacementRect ToPlacementRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QRect ToQRect(const PlacementRect& rc) { return QRect(rc.left, rc.top, rc.Width(), rc.Height()); }

std::vector<PlacementRect> AvailableScreens() {
    std::vector<PlacementRect> screens;
    for (QScreen* screen : QGuiApplication::screens()) screens.push_back(ToPlacementRect(screen->availableGeometry()));
    return screens;
}

}  // namespace

QMargins MainWindow::FrameMargins() const {
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                    frame.bottom() - client.bottom());
}

void MainWindow::PlaceFrame(const QRect& rcFrame) {
    const QMargins margins = m_frameMargins;
    resize(rcFrame.size().shrunkBy(margins).expandedTo(QSize(1, 1)));
    // A top-level window's position is its frame's: the window manager puts the frame there.
    move(rcFrame.topLeft());
}

void MainWindow::RestorePlacement() {
    Profile& profile = m_session.GetProfile();
    const SavedPlacement saved = ReadPlacement(profile);
    const FirstShow first = ChooseFirstShow(saved);
    m_windowSlot = std::make_unique<WindowSlot>();

    PlacementRect rc = saved.rcNormal;
    // A second window at the same time does not hide the first.
    const int offset = m_windowSlot->Number() * kCascade;
    rc = {rc.left + offset, rc.top + offset, rc.right + offset, rc.bottom + offset};
    if (PositionsDecidedByPlatform()) {
        resize(rc.Width(), rc.Height());
    } else {
        const QScreen* primary = QGuiApplication::primaryScreen();
        if (primary) rc = FitToScreens(rc, AvailableScreens(), ToPlacementRect(primary->availableGeometry()));
        m_frameWanted = ToQRect(rc);
        PlaceFrame(m_frameWanted);
        // The decorations are known once the window manager has framed the window: the
        // frame is then made the size wanted (checked on the next moves and resizes).
        // A window that starts maximised or minimised waits for its first normal show.
        m_fittingFrame = true;
        if (first.state == ShowState::Normal)
            QTimer::singleShot(kFrameWaitMs, this, [this] { m_fittingFrame = false; });
    }
    m_placed = m_frameWanted;

    // The saved state, not the one whoever started the program asked for.
    Qt::WindowStates states = Qt::WindowNoState;
    switch (first.state) {
    case ShowState::Normal: break;
    case ShowState::Maximized: states = Qt::WindowMaximized; break;
    case ShowState::Minimized:
        states = Qt::WindowMinimized;
        if (first.restoreToMax) states |= Qt::WindowMaximized;
        break;
    }
    // nelo --minimized: restored later, the window comes back as it was saved.
    const bool activate = first.activate && !m_startMinimized;
    if (m_startMinimized) states |= Qt::WindowMinimized;
    setWindowState(states);
    setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    show();
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    // The window takes the keyboard at once, also on an X display without a window
    // manager (where nothing else would give it the focus); a minimised start does not.
    if (activate) activateWindow();

    // After the show, so that whatever follows the bars' visibility hears the change.
    const BarVisibility bars = ReadBarVisibility(profile);
    if (m_toolBar) m_toolBar->setVisible(bars.showToolBar);
    statusBar()->setVisible(bars.showStatusBar);
}

void MainWindow::FitFrameOnceDecorated() {
    if (windowState() != Qt::WindowNoState) return;
    const QMargins margins = FrameMargins();
    if (margins.isNull() || margins.top() < 0 || margins.left() < 0) return;
    m_frameMargins = margins;
    if (!m_fittingFrame) return;
    m_fittingFrame = false;
    if (frameGeometry() == m_frameWanted) return;
    PlaceFrame(m_frameWanted);
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    FitFrameOnceDecorated();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FitFrameOnceDecorated();
}

void MainWindow::SavePlacement() {
    Profile& profile = m_session.GetProfile();
    const Qt::WindowStates states = windowState();
    ShowState state = ShowState::Normal;
    if (states & Qt::WindowMinimized)
        state = ShowState::Minimized;
    else if (states & (Qt::WindowMaximized | Qt::WindowFullScreen))
        state = ShowState::Maximized;
    QRect normal = normalGeometry();
    if (!normal.isValid()) normal = geometry();
    // The frame of the normal window: a maximised window's own frame may lack borders,
    // so the decorations last measured in the normal state count.
    if (states == Qt::WindowNoState && !FrameMargins().isNull()) m_frameMargins = FrameMargins();
    normal = normal.marginsAdded(m_frameMargins);
    PlacementRect rc = ToPlacementRect(normal);
    if (PositionsDecidedByPlatform()) {
        // The position is not ours to know here: the one saved elsewhere stays.
        const PlacementRect before = ReadPlacement(profile).rcNormal;
        rc = {before.left, before.top, before.left + rc.Width(), before.top + rc.Height()};
    }
    // A second window left where it was put keeps the first one's place for the next start.
    const bool offsetOnly =
        m_windowSlot && m_windowSlot->Number() > 0 && state == ShowState::Normal && ToQRect(rc) == m_placed;
    if (!offsetOnly) WritePlacement(profile, PlacementToSave(rc, state, (states & Qt::WindowMaximized) != 0));

    BarVisibility bars;
    bars.showToolBar = !m_toolBar || !m_toolBar->isHidden();
    bars.showStatusBar = !statusBar()->isHidden();
    WriteBarVisibility(profile, bars);
}
