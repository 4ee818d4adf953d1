// The application shell without windows: the profile, the one document and its
// conversation panes, and the new-document and start-up steps every front end shares.
#pragma once

#include "document/RumoDoc.h"
#include "platform/Profile.h"

#include <memory>
#include <string>

class IMessageBox;
class CRumoView;

class CRumoApp {
public:
    /// The application's title, also the caption of its message boxes.
    static constexpr const char* kAppName = "Nelo";

    CRumoApp(CProfile& profile, IMessageBox& messageBox) : m_profile(profile), m_messageBox(messageBox) {}

    CRumoDoc& GetDocument() { return m_doc; }
    CProfile& GetProfile() { return m_profile; }
    IMessageBox& GetMessageBox() { return m_messageBox; }

    /// File New: empty the document, default names, fresh welcome in every pane.
    void OnFileNew();
    /// Runs the initial update of every conversation pane of the document.
    void InitialUpdateViews();

private:
    CProfile& m_profile;
    IMessageBox& m_messageBox;
    CRumoDoc m_doc;
};
