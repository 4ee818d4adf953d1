// Desktop notifications: through the freedesktop notification service on the session
// bus (org.freedesktop.Notifications, app name 「ＮＥＬＯ」, the desktop entry's icon);
// where no service answers, a message of the system tray; where there is no tray
// either, a notice in the main window's status bar while the window asks for
// attention. Clicking a notification (its default action, the tray message or the
// notice) gives its tag back.
#pragma once

#include <QObject>
#include <QString>
#include <QVector>
#include <map>

class QMainWindow;
class QSystemTrayIcon;
class QToolButton;

class DesktopNotifier : public QObject {
    Q_OBJECT
public:
    /// Where a notification went.
    enum class Route { Nowhere, Service, Tray, StatusBar };

    static constexpr const char* kService = "org.freedesktop.Notifications";
    static constexpr const char* kPath = "/org/freedesktop/Notifications";
    /// The application name and icon the notifications carry: the desktop entry's.
    static constexpr const char* kAppName = "ＮＥＬＯ";
    static constexpr const char* kDesktopEntry = "com.vantor.Nelo";

    explicit DesktopNotifier(QMainWindow& window);
    ~DesktopNotifier() override;

    /// Shows a notification; tag comes back through activated() when it is clicked.
    void Show(const QString& summary, const QString& body, int tag);

    /// Where the last notification went (it may still be on its way to the service).
    Route GetLastRoute() const { return m_lastRoute; }
    /// The status-bar notice (nullptr until one was needed).
    QToolButton* GetNotice() const { return m_notice; }

Q_SIGNALS:
    /// The user clicked the notification of tag.
    void Activated(int tag);

private Q_SLOTS:
    void OnActionInvoked(uint id, const QString& actionKey);
    void OnNotificationClosed(uint id, uint reason);

private:
    struct Pending {
        QString summary;
        QString body;
        int tag;
    };
    enum class ServiceState { Unknown, Asking, Ready };

    /// Asks the service what it can do; the notifications wait for the answer.
    void AskService();
    void SendToService(const Pending& note);
    void ShowFallback(const Pending& note);

    QMainWindow& m_window;
    ServiceState m_state = ServiceState::Unknown;
    bool m_bodyMarkup = false;  // the service reads markup in the body
    bool m_signalsWatched = false;
    QVector<Pending> m_waiting;  // notifications waiting for the service's answer
    std::map<uint, int> m_tags;  // the service's notification ids and their tags
    QSystemTrayIcon* m_tray = nullptr;
    int m_trayTag = -1;
    QToolButton* m_notice = nullptr;
    int m_noticeTag = -1;
    Route m_lastRoute = Route::Nowhere;
};
