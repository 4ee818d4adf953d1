#include "desktop/DesktopNotifier.h"

#include "desktop/DesktopIcons.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QMainWindow>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QToolButton>

namespace {

constexpr const char* kInterface = "org.freedesktop.Notifications";
// How long the service may take to answer before the fallback shows instead.
constexpr int kServiceTimeoutMs = 5000;

QString Latin1(const char* text) { return QString::fromLatin1(text); }

}  // namespace

DesktopNotifier::DesktopNotifier(QMainWindow& window) : QObject(&window), m_window(window) {}

DesktopNotifier::~DesktopNotifier() = default;

void DesktopNotifier::Show(const QString& summary, const QString& body, int tag) {
    const Pending note{summary, body, tag};
    if (!QDBusConnection::sessionBus().isConnected()) {
        ShowFallback(note);
        return;
    }
    if (m_state == ServiceState::Ready) {
        SendToService(note);
        return;
    }
    m_waiting.push_back(note);
    if (m_state == ServiceState::Unknown) AskService();
}

void DesktopNotifier::AskService() {
    m_state = ServiceState::Asking;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!m_signalsWatched) {
        m_signalsWatched = true;
        bus.connect(QString(), Latin1(kPath), Latin1(kInterface), QStringLiteral("ActionInvoked"), this,
                    SLOT(OnActionInvoked(uint, QString)));
        bus.connect(QString(), Latin1(kPath), Latin1(kInterface), QStringLiteral("NotificationClosed"), this,
                    SLOT(OnNotificationClosed(uint, uint)));
    }
    const QDBusMessage ask = QDBusMessage::createMethodCall(Latin1(kService), Latin1(kPath), Latin1(kInterface),
                                                            QStringLiteral("GetCapabilities"));
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(ask, kServiceTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QDBusPendingReply<QStringList> reply = *call;
        const QVector<Pending> waiting = std::exchange(m_waiting, {});
        if (reply.isError()) {
            // Nobody answers now; the next notification asks again.
            m_state = ServiceState::Unknown;
            for (const Pending& note : waiting) ShowFallback(note);
            return;
        }
        m_state = ServiceState::Ready;
        m_bodyMarkup = reply.value().contains(QStringLiteral("body-markup"));
        for (const Pending& note : waiting) SendToService(note);
    });
}

void DesktopNotifier::SendToService(const Pending& note) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(Latin1(kService), Latin1(kPath), Latin1(kInterface), QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), Latin1(kDesktopEntry));
    hints.insert(QStringLiteral("category"), QStringLiteral("x-nelo.reminder"));
    // A service that reads markup in the body would take "<" and "&" of a business as markup.
    const QString body = m_bodyMarkup ? note.body.toHtmlEscaped() : note.body;
    message << QString::fromUtf8(kAppName) << uint(0) << Latin1(kDesktopEntry) << note.summary << body
            << QStringList{QStringLiteral("default"), QStringLiteral("予定一覧を開く")} << hints << int(-1);
    m_lastRoute = Route::Service;
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(message, kServiceTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, note](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QDBusPendingReply<uint> reply = *call;
        if (reply.isError()) {
            // The service went away: this one is shown otherwise, the next asks again.
            m_state = ServiceState::Unknown;
            ShowFallback(note);
            return;
        }
        m_tags[reply.value()] = note.tag;
    });
}

void DesktopNotifier::ShowFallback(const Pending& note) {
    if (QSystemTrayIcon::isSystemTrayAvailable() && QSystemTrayIcon::supportsMessages()) {
        if (!m_tray) {
            m_tray = new QSystemTrayIcon(AppIcon(), this);
            m_tray->setToolTip(QString::fromUtf8(kAppName));
            connect(m_tray, &QSystemTrayIcon::messageClicked, this, [this] { Q_EMIT Activated(m_trayTag); });
        }
        m_tray->show();
        m_trayTag = note.tag;
        m_tray->showMessage(note.summary, note.body, AppIcon(), 0);
        m_lastRoute = Route::Tray;
        return;
    }
    if (!m_notice) {
        m_notice = new QToolButton(&m_window);
        m_notice->setObjectName(QStringLiteral("reminderNotice"));
        m_notice->setAccessibleName(QStringLiteral("通知"));
        m_notice->setAutoRaise(true);
        m_notice->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        m_notice->setIcon(AppIcon());
        m_notice->setFocusPolicy(Qt::NoFocus);
        m_window.statusBar()->addWidget(m_notice);
        connect(m_notice, &QToolButton::clicked, this, [this] {
            m_notice->hide();
            Q_EMIT Activated(m_noticeTag);
        });
    }
    m_noticeTag = note.tag;
    // One line: the summary, then the first line of the body.
    m_notice->setText(note.summary + QStringLiteral("　") + note.body.section(QLatin1Char('\n'), 0, 0));
    m_notice->setToolTip(note.summary + QLatin1Char('\n') + note.body +
                         QStringLiteral("\n\nクリックすると予定一覧を開きます"));
    m_notice->show();
    QApplication::alert(&m_window);
    m_lastRoute = Route::StatusBar;
}

void DesktopNotifier::OnActionInvoked(uint id, const QString& actionKey) {
    const auto it = m_tags.find(id);
    if (it == m_tags.end() || actionKey != QStringLiteral("default")) return;
    Q_EMIT Activated(it->second);
}

void DesktopNotifier::OnNotificationClosed(uint id, uint /*reason*/) { m_tags.erase(id); }
