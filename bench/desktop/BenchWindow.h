// What the desktop benchmarks share: a private profile and state folder with a frozen
// clock (made before the QApplication), and the real main window, offscreen, on a new
// notebook whose message boxes answer No.
#pragma once

#include "app/NotebookSession.h"
#include "desktop/MainWindow.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

class BenchFolder {
public:
    BenchFolder() {
        const QByteArray path = m_dir.path().toUtf8();
        setenv("XDG_CONFIG_HOME", path.constData(), 1);
        setenv("XDG_STATE_HOME", path.constData(), 1);
        setenv("NELO_NOW", "2026-12-08 09:00:00", 1);
    }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

class SilentMessageBox : public nelo::MessageBox {
public:
    nelo::MbAnswer Show(const std::string&, const std::string&, nelo::MbButtons, nelo::MbIcon) override {
        return nelo::MbAnswer::No;
    }
};

struct BenchWindow {
    explicit BenchWindow(const BenchFolder& folder)
        : m_profile(folder.filePath(QStringLiteral("Nelo.conf")).toStdString()),
          m_app(m_profile, m_messageBox),
          m_frame(m_app) {
        m_frame.ShowFirstTime();
        m_app.StartUp(std::string(), true);
        QApplication::processEvents();
    }
    // Nothing asks on the way out.
    ~BenchWindow() { m_app.GetNotebook().SetModifiedFlag(false); }

    SilentMessageBox m_messageBox;
    nelo::Profile m_profile;
    nelo::NotebookSession m_app;
    MainWindow m_frame;
};
