// Where the main window comes back: its normal rectangle and whether it was minimised
// or maximised, kept in the profile's "Window size" section, and the visibility of the
// tool bar and the status bar. Rectangles are the window's frame (title bar and borders
// included) in screen coordinates with right and bottom exclusive (right = left + width).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nelo {

class Profile;

struct PlacementRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const PlacementRect&) const = default;
};

enum class ShowState { Normal, Minimized, Maximized };

/// The saved state of the window: "Rect", "icon" and "max" of "Window size".
struct SavedPlacement {
    PlacementRect rcNormal;
    bool minimizedState = false;  // minimised when it was closed
    bool maximized = false;       // maximised, or minimised from a maximised state
    bool operator==(const SavedPlacement&) const = default;
};

/// How the window is shown the first time.
struct FirstShow {
    ShowState state = ShowState::Normal;
    bool activate = true;       // brought to the front
    bool restoreToMax = false;  // restoring a minimised window maximises it
    bool operator==(const FirstShow&) const = default;
};

/// Tool bar and status bar visibility.
struct BarVisibility {
    bool showToolBar = true;
    bool showStatusBar = true;
    bool operator==(const BarVisibility&) const = default;
};

/// The rectangle used while nothing is saved: left 10, top 10, right 500, bottom 400.
PlacementRect DefaultPlacementRect();

/// "%04d %04d %04d %04d" of left, top, right and bottom.
std::string FormatPlacementRect(const PlacementRect& rc);
/// Reads a "Rect" value back. Empty, unreadable or empty-sized values give the default
/// rectangle; the four numbers are taken by their blank-separated fields, so a
/// coordinate written wider than four characters reads back as written.
PlacementRect ParsePlacementRect(std::string_view text);

/// The saved flags for a window closed in the given state (restoreToMax: a minimised
/// window that was maximised before).
SavedPlacement PlacementToSave(const PlacementRect& rcNormal, ShowState state, bool restoreToMax);
/// How to show the window the first time for the saved flags.
FirstShow ChooseFirstShow(const SavedPlacement& saved);

/// Where a window's frame (rc) goes on the screens (their available areas). One whose
/// title bar shows on a screen, enough of it to take hold of, stays where it is. One
/// with its title bar off the screen that holds most of it moves onto that screen as
/// little as it takes (whole where it fits, shrunk where it does not). One on no screen
/// goes, whole, into the middle of the primary one.
PlacementRect FitToScreens(const PlacementRect& rc, const std::vector<PlacementRect>& screens,
                           const PlacementRect& primary);

/// Reads "Window size" (missing values give the default rectangle, not minimised, not
/// maximised).
SavedPlacement ReadPlacement(const Profile& profile);
/// Writes "Rect", "icon" and "max"; false when the profile could not be written.
bool WritePlacement(Profile& profile, const SavedPlacement& saved);

/// Reads the bars' visibility ("Nelo-Bar0": the tool bar, "Nelo-Bar1": the status bar,
/// each "Visible" 1 or 0; both show while nothing is saved).
BarVisibility ReadBarVisibility(const Profile& profile);
/// Writes "Nelo-Summary" ("Bars" 2) and the two bars' "Visible".
bool WriteBarVisibility(Profile& profile, const BarVisibility& bars);

}  // namespace nelo
