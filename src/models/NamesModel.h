// What the settings dialog ("設定") shows and does: the user's name and the
// responder's name.
#pragma once

#include <functional>
#include <string>
#include <utility>

namespace nelo {

class Notebook;

class NamesModel {
public:
    /// How the dialog ended.
    enum Result { kOpen = 0, kOk = 1, kCancel = 2 };

    /// The OK button (1004): accepts the fields and closes the dialog.
    void OnOkButton() { m_result = kOk; }
    /// The Enter key: deliberately nothing, so a name is never accepted half typed.
    void OnOK() {}
    /// The cancel button or Escape: closes the dialog and keeps the old names.
    void OnCancel() { m_result = kCancel; }

    Result GetResult() const { return m_result; }
    bool IsOpen() const { return m_result == kOpen; }

    /// The field "回答者の名前".
    const std::string& GetResponderName() const { return m_responderName; }
    void SetResponderName(std::string name) { m_responderName = std::move(name); }
    /// The field "あなたの名前".
    const std::string& GetUserName() const { return m_userName; }
    void SetUserName(std::string name) { m_userName = std::move(name); }

private:
    std::string m_responderName;
    std::string m_userName;
    Result m_result = kOpen;
};

/// The notebook's settings command: the form starts with the notebook's names,
/// interact plays the user's part, and on OK each name that changed is stored. A
/// changed name sets the calculator's change flag and marks the notebook modified at
/// once, so closing right afterwards offers to save. Returns true when a name changed.
bool OnSettings(Notebook& notebook, const std::function<void(NamesModel&)>& interact);

}  // namespace nelo
