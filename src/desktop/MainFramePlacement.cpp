// The window comes back where the user left it: placement and bar visibility are kept
// in the profile's "Window size" section and the "Nelo-Bar" sections. Rectangles are the
// window's normal geometry without the window manager's frame, so what is saved is what
// is restored, whatever the decorations.
#include "desktop/MainFrame.h"

#include "app/RumoApp.h"
#include "app/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

namespace {

/// Where the compositor decides window positions (Wayland), only the size and the
/// maximised state can come back.
bool PositionsDecidedByPlatform() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

PlacementRect ToPlacementRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QRect ToQRect(const PlacementRect& rc) { return QRect(rc.left, rc.top, rc.Width(), rc.Height()); }

}  // namespace

void CMainFrame::RestorePlacement() {
    CProfile& profile = m_app.GetProfile();
    const SavedPlacement saved = ReadPlacement(profile);
    const FirstShow first = ChooseFirstShow(saved);

    if (PositionsDecidedByPlatform()) {
        resize(saved.rcNormal.Width(), saved.rcNormal.Height());
    } else {
        // A monitor unplugged or a smaller display: the window comes onto the primary
        // screen with room for the window manager's frame, which is not known before the
        // window is shown.
        const QMargins frame(8, 40, 8, 8);
        std::vector<PlacementRect> screens;
        for (QScreen* pScreen : QGuiApplication::screens())
            screens.push_back(ToPlacementRect(pScreen->availableGeometry()));
        QRect rc = ToQRect(saved.rcNormal);
        if (QScreen* pPrimary = QGuiApplication::primaryScreen()) {
            const QRect fitted = ToQRect(
                FitToScreens(ToPlacementRect(rc + frame), screens, ToPlacementRect(pPrimary->availableGeometry())));
            if (fitted != rc + frame) rc = fitted - frame;
        }
        setGeometry(rc);
    }

    // The saved state, not the one whoever started the program asked for.
    Qt::WindowStates states = Qt::WindowNoState;
    switch (first.state) {
    case ShowState::Normal: break;
    case ShowState::Maximized: states = Qt::WindowMaximized; break;
    case ShowState::Minimized:
        states = Qt::WindowMinimized;
        if (first.bRestoreToMax) states |= Qt::WindowMaximized;
        break;
    }
    // nelo --minimized: restored later, the window comes back as it was saved.
    const bool bActivate = first.bActivate && !m_bStartMinimized;
    if (m_bStartMinimized) states |= Qt::WindowMinimized;
    setWindowState(states);
    setAttribute(Qt::WA_ShowWithoutActivating, !bActivate);
    show();
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    // The window takes the keyboard at once, also on an X display without a window
    // manager (where nothing else would give it the focus); a minimised start does not.
    if (bActivate) activateWindow();

    // After the show, so that whatever follows the bars' visibility hears the change.
    const BarVisibility bars = ReadBarVisibility(profile);
    if (m_pToolBar) m_pToolBar->setVisible(bars.bToolBar);
    statusBar()->setVisible(bars.bStatusBar);
}

void CMainFrame::SavePlacement() {
    CProfile& profile = m_app.GetProfile();
    const Qt::WindowStates states = windowState();
    ShowState state = ShowState::Normal;
    if (states & Qt::WindowMinimized)
        state = ShowState::Minimized;
    else if (states & (Qt::WindowMaximized | Qt::WindowFullScreen))
        state = ShowState::Maximized;
    QRect normal = normalGeometry();
    if (!normal.isValid()) normal = geometry();
    PlacementRect rc = ToPlacementRect(normal);
    if (PositionsDecidedByPlatform()) {
        // The position is not ours to know here: the one saved elsewhere stays.
        const PlacementRect before = ReadPlacement(profile).rcNormal;
        rc = {before.left, before.top, before.left + rc.Width(), before.top + rc.Height()};
    }
    WritePlacement(profile, PlacementToSave(rc, state, (states & Qt::WindowMaximized) != 0));

    BarVisibility bars;
    bars.bToolBar = !m_pToolBar || !m_pToolBar->isHidden();
    bars.bStatusBar = !statusBar()->isHidden();
    WriteBarVisibility(profile, bars);
}
