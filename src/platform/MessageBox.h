// Message boxes, as the core's dialogs and file commands ask them. A front end
// implements MessageBox: the desktop program with real dialogs, the terminal program
// on stderr (asking on a terminal), tests with scripted answers.
#pragma once

#include <string>

namespace nelo {

enum class MbButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MbIcon { None, Information, Exclamation, Question, Error };
enum class MbAnswer { Ok, Cancel, Yes, No };

class MessageBox {
public:
    virtual ~MessageBox() = default;
    /// Shows text (code page 932) with a caption (code page 932; empty means the
    /// application's title "Nelo") and returns the button chosen.
    virtual MbAnswer Show(const std::string& text, const std::string& caption, MbButtons buttons,
                          MbIcon icon = MbIcon::None) = 0;
};

}  // namespace nelo
