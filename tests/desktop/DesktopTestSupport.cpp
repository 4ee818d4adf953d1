#include "DesktopTestSupport.h"

#include "desktop/FontMapping.h"
#include "desktop/QtText.h"
#include "platform/CodePage.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QDialog>
#include <QProgressDialog>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>
#include <cstdlib>

using namespace nelo;

TestEnvironment::TestEnvironment(const char* now) {
    const QByteArray path = m_dir.path().toUtf8();
    setenv("XDG_CONFIG_HOME", (path + "/config").constData(), 1);
    setenv("XDG_STATE_HOME", (path + "/state").constData(), 1);
    setenv("NELO_NOW", now, 1);
    std::time_t t = 0;
    if (ParseLocalTimestamp(now, t)) {
        m_clock = std::make_unique<FixedClock>(t);
        SetCurrentClock(m_clock.get());
    }
}

TestEnvironment::~TestEnvironment() {
    if (m_clock) SetCurrentClock(nullptr);
}

MbAnswer ScriptedMessageBox::Show(const std::string& text, const std::string& /*caption*/, MbButtons buttons,
                                  MbIcon /*icon*/) {
    m_shown.push_back(Cp932ToUtf8(text).text);
    if (!m_answers.empty()) {
        MbAnswer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    switch (buttons) {
    case MbButtons::Ok: return MbAnswer::Ok;
    case MbButtons::YesNo: return MbAnswer::No;
    default: return MbAnswer::Cancel;
    }
}

ModalWatchdog::ModalWatchdog(int limitMs) : m_limitMs(limitMs) {
    m_timer.setInterval(50);
    QObject::connect(&m_timer, &QTimer::timeout, this, [this] { Poll(); });
    m_timer.start();
}

ModalWatchdog::~ModalWatchdog() = default;

void ModalWatchdog::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    // The text-file progress keeps its window busy without being modal.
    if (!modal) {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (qobject_cast<QProgressDialog*>(top) && top->isVisible()) modal = top;
    }
    if (!modal) {
        m_seen = nullptr;
        return;
    }
    if (modal != m_seen) {
        m_seen = modal;
        m_seenMs = 0;
        if (!m_handlers.empty()) {
            auto handler = std::move(m_handlers.front());
            m_handlers.pop_front();
            handler(modal);
            return;
        }
    }
    m_seenMs += 50;
    if (m_seenMs >= m_limitMs) {
        ++m_unanswered;
        qWarning("an unanswered modal widget was closed: %s", modal->metaObject()->className());
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        m_seen = nullptr;
    }
}

WindowFixture::WindowFixture() : m_profile(Profile::DefaultPath()), m_app(m_profile, m_messageBox) {
    InstallFontSubstitutions();
    m_window = std::make_unique<MainWindow>(m_app);
    m_window->ShowFirstTime();
    m_app.StartUp(std::string(), true);
}

WindowFixture::~WindowFixture() {
    // Nothing asks on the way out: the tests end without saving.
    m_app.GetNotebook().SetModifiedFlag(false);
    m_window.reset();
}

void TypeText(QWidget* widget, const QString& text) {
    for (char32_t u : text.toUcs4()) {
        const QString c = QString::fromUcs4(&u, 1);
        if (c == QLatin1String("\n")) {
            QTest::keyClick(widget, Qt::Key_Return);
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, c);
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, c);
        QApplication::sendEvent(widget, &release);
    }
}

QString Q(const std::string& cp932) { return ToQString(cp932); }

QStringList UnnamedControls(QWidget* top) {
    QStringList unnamed;
    const QList<QWidget*> widgets = top->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        const bool isControl = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                               qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                               (qobject_cast<QAbstractScrollArea*>(w) && w->focusPolicy() != Qt::NoFocus);
        if (!isControl || !w->isVisibleTo(top)) continue;
        // Inside a composite control that has a name (a spin box's line edit, a combo
        // box's view), the parent speaks for its parts.
        if (qobject_cast<QLineEdit*>(w) &&
            (qobject_cast<QAbstractSpinBox*>(w->parentWidget()) || qobject_cast<QComboBox*>(w->parentWidget())))
            continue;
        QAccessibleInterface* acc = QAccessible::queryAccessibleInterface(w);
        if (!acc || acc->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName();
    }
    return unnamed;
}
