// A message box that answers every notice with OK and keeps what it was shown, for the
// file tests that look at the failure messages.
#pragma once

#include "platform/MessageBox.h"

#include <string>
#include <vector>

class OkBox : public nelo::MessageBox {
public:
    nelo::MbAnswer Show(const std::string& text, const std::string&, nelo::MbButtons, nelo::MbIcon) override {
        m_shown.push_back(text);
        return nelo::MbAnswer::Ok;
    }
    std::vector<std::string> m_shown;
};
