#include "app/WindowPlacement.h"

#include "platform/Profile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace nelo {

namespace {

constexpr const char* kSection = "Window size";
constexpr const char* kBarSummary = "Nelo-Summary";
constexpr const char* kBarSections[] = {"Nelo-Bar0", "Nelo-Bar1"};

// A window counts as on a screen when at least this much of it (or all of it, when it
// is smaller) shows there: enough to see it and take hold of it.
constexpr int kMinVisible = 48;
// The height of the strip at the top of a frame that must show: its title bar.
constexpr int kTitleBar = 24;

bool ParseCoordinate(std::string_view field, int& value) {
    // Only what "%04d" writes: an optional minus sign and decimal digits.
    std::string_view digits = field;
    if (!digits.empty() && digits.front() == '-') digits.remove_prefix(1);
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    return ec == std::errc() && end == field.data() + field.size();
}

bool Overlaps(const PlacementRect& a, const PlacementRect& b) {
    const int w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const int h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w >= std::min(kMinVisible, a.Width()) && h >= std::min(kMinVisible, a.Height()) && w > 0 && h > 0;
}

}  // namespace

PlacementRect DefaultPlacementRect() { return {10, 10, 500, 400}; }

std::string FormatPlacementRect(const PlacementRect& rc) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d %04d %04d %04d", rc.left, rc.top, rc.right, rc.bottom);
    return buf;
}

PlacementRect ParsePlacementRect(std::string_view text) {
    int values[4];
    int n = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        std::size_t end = text.find(' ', i);
        if (end == std::string_view::npos) end = text.size();
        if (n == 4 || !ParseCoordinate(text.substr(i, end - i), values[n])) return DefaultPlacementRect();
        ++n;
        i = end;
    }
    if (n != 4) return DefaultPlacementRect();
    PlacementRect rc{values[0], values[1], values[2], values[3]};
    // A window without width or height could not be seen or taken hold of.
    if (rc.right <= rc.left || rc.bottom <= rc.top) return DefaultPlacementRect();
    return rc;
}

SavedPlacement PlacementToSave(const PlacementRect& rcNormal, ShowState state, bool restoreToMax) {
    SavedPlacement saved;
    saved.rcNormal = rcNormal;
    switch (state) {
    case ShowState::Normal: break;
    case ShowState::Maximized: saved.maximized = true; break;
    case ShowState::Minimized:
        saved.minimizedState = true;
        saved.maximized = restoreToMax;
        break;
    }
    return saved;
}

FirstShow ChooseFirstShow(const SavedPlacement& saved) {
    if (saved.minimizedState) return {ShowState::Minimized, false, saved.maximized};
    if (saved.maximized) return {ShowState::Maximized, true, true};
    return {ShowState::Normal, true, false};
}

PlacementRect FitToScreens(const PlacementRect& rc, const std::vector<PlacementRect>& screens,
                           const PlacementRect& primary) {
    if (primary.Width() <= 0 || primary.Height() <= 0) return rc;
    // The title bar shows when the frame's top strip lies on a screen, enough of it to
    // take hold of.
    const PlacementRect title{rc.left, rc.top, rc.right, rc.top + kTitleBar};
    const PlacementRect* largest = nullptr;
    long long largestArea = 0;
    for (const PlacementRect& screen : screens) {
        const int w = std::min(title.right, screen.right) - std::max(title.left, screen.left);
        if (title.top >= screen.top && title.bottom <= screen.bottom && w > 0 && w >= std::min(kMinVisible, rc.Width()))
            return rc;
        if (!Overlaps(rc, screen)) continue;
        const long long area =
            static_cast<long long>(std::min(rc.right, screen.right) - std::max(rc.left, screen.left)) *
            (std::min(rc.bottom, screen.bottom) - std::max(rc.top, screen.top));
        if (area > largestArea) {
            largestArea = area;
            largest = &screen;
        }
    }
    const PlacementRect& target = largest ? *largest : primary;
    const int w = std::clamp(rc.Width(), 1, std::max(1, target.Width()));
    const int h = std::clamp(rc.Height(), 1, std::max(1, target.Height()));
    int left, top;
    if (largest) {
        // Partly off its screen: moved only as far as it takes.
        left = std::clamp(rc.left, target.left, target.right - w);
        top = std::clamp(rc.top, target.top, target.bottom - h);
    } else {
        // On no screen at all (a monitor unplugged): whole, in the middle of the primary.
        left = target.left + (target.Width() - w) / 2;
        top = target.top + (target.Height() - h) / 2;
    }
    return {left, top, left + w, top + h};
}

SavedPlacement ReadPlacement(const Profile& profile) {
    SavedPlacement saved;
    saved.rcNormal = ParsePlacementRect(profile.GetProfileString(kSection, "Rect"));
    saved.minimizedState = profile.GetProfileInt(kSection, "icon", 0) != 0;
    saved.maximized = profile.GetProfileInt(kSection, "max", 0) != 0;
    return saved;
}

bool WritePlacement(Profile& profile, const SavedPlacement& saved) {
    bool ok = profile.WriteProfileString(kSection, "Rect", FormatPlacementRect(saved.rcNormal));
    ok = profile.WriteProfileInt(kSection, "icon", saved.minimizedState ? 1 : 0) && ok;
    return profile.WriteProfileInt(kSection, "max", saved.maximized ? 1 : 0) && ok;
}

BarVisibility ReadBarVisibility(const Profile& profile) {
    BarVisibility bars;
    bars.showToolBar = profile.GetProfileInt(kBarSections[0], "Visible", 1) != 0;
    bars.showStatusBar = profile.GetProfileInt(kBarSections[1], "Visible", 1) != 0;
    return bars;
}

bool WriteBarVisibility(Profile& profile, const BarVisibility& bars) {
    bool ok = profile.WriteProfileInt(kBarSummary, "Bars", 2);
    ok = profile.WriteProfileInt(kBarSections[0], "Visible", bars.showToolBar ? 1 : 0) && ok;
    return profile.WriteProfileInt(kBarSections[1], "Visible", bars.showStatusBar ? 1 : 0) && ok;
}

}  // namespace nelo
