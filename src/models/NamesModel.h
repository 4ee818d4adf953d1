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
    enum Result { Open = 0, Ok = 1, Cancel = 2 };

    /// The OK button (1004): accepts the fields and closes the dialog.
    void OnOkButton() { m_result = Ok; }
    /// The Enter key: deliberately nothing, so a name is never accepted half typed.
    void OnOK() {}
    /// The cancel button or Escape: closes the dialog and keeps the old names.
    void OnCancel() { m_result = Cancel; }

    Result GetResult() const { return m_result; }
    bool IsOpen() const { return m_result == Open; }

    /// The field "回答者の名前".
    const std::string& GetResponderName() const { return m_responderName; }
    void SetResponderName(std::string name) { m_responderName = std::move(name); }
    /// The field "あなたの名前".
    const std::string& GetUserName() const { return m_userName; }
    void SetUserName(std::string name) { m_userName = std::move(name); }

private:
    std::string m_responderName;
    std::string m_userName;
    Result m_result = Open;
};

/// The notebook's settings command: the form starts with the notebook's names,
/// interact plays the user's part, and on OK each name that changed is stored. A
/// changed name sets the calculator's change flag and marks the notebook modified at
/// once, so closing right afterwards offers to save. Returns true when a name changed.
bool OnSettings(Notebook& notebook, const std::function<void(NamesModel&)>& interact);

}  // namespace nelo
