// Starting with the desktop session: an XDG autostart entry,
// ${XDG_CONFIG_HOME:-$HOME/.config}/autostart/com.vantor.Nelo.desktop, that starts the
// desktop program minimised at login so that reminders come without opening it by hand.
#pragma once

#include <string>

namespace nelo {

/// The autostart entry's path.
std::string LoginStartPath();
/// The text of the entry the program writes.
std::string LoginStartEntry();
/// True when the entry is there and not hidden (Hidden=true turns an entry off).
bool IsLoginStartSet();
/// Writes the entry (isOn) or removes it; false with error (UTF-8) when that failed. An
/// entry already absent counts as removed.
bool SetLoginStart(bool isOn, std::string& error);

}  // namespace nelo
