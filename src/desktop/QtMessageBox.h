// The core's message boxes as Qt message boxes over the main window.
#pragma once

#include "platform/MessageBox.h"

class QWidget;

class QtMessageBox : public nelo::MessageBox {
public:
    void SetParent(QWidget* parent) { m_parent = parent; }
    QWidget* GetParent() const { return m_parent; }
    nelo::MbAnswer Show(const std::string& text, const std::string& caption, nelo::MbButtons buttons,
                        nelo::MbIcon icon = nelo::MbIcon::None) override;

private:
    QWidget* m_parent = nullptr;
};
