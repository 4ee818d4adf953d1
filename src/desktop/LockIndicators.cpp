#include "desktop/LockIndicators.h"

#include "desktop/XkbIndicators.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>

namespace {

// The lock modifiers in a key event's native state as the Wayland keymaps lay them
// out: Lock for Caps Lock, Mod2 for Num Lock.
constexpr quint32 kLockModifier = 0x02;
constexpr quint32 kMod2Modifier = 0x10;

}  // namespace

LockIndicators::LockIndicators(QStatusBar* bar, const QString& ledFolder, bool windowSystem)
    : QObject(bar), m_ledFolder(ledFolder) {
    struct LockPane {
        const char* name;
        const char* light;
        const char* xkbName;
        quint32 modifier;
        QString text;
        QString accessible;
    };
    const LockPane panes[4] = {
        {"indicatorKana", "kana", "Kana", 0, QStringLiteral("ｶﾅ"), QStringLiteral("カナ ロック")},
        {"indicatorCaps", "capslock", "Caps Lock", kLockModifier, QStringLiteral("CAP"), QStringLiteral("Caps Lock")},
        {"indicatorNum", "numlock", "Num Lock", kMod2Modifier, QStringLiteral("NUM"), QStringLiteral("Num Lock")},
        {"indicatorScroll", "scrolllock", "Scroll Lock", 0, QStringLiteral("SCRL"), QStringLiteral("Scroll Lock")},
    };
    for (std::size_t i = 0; i < 4; ++i) {
        auto* label = new QLabel(panes[i].text, bar);
        label->setObjectName(QString::fromLatin1(panes[i].name));
        label->setAccessibleName(panes[i].accessible);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        // The pane keeps its width while its text is blank.
        label->setMinimumWidth(label->sizeHint().width() + 6);
        bar->addPermanentWidget(label);
        m_indicators[i] = {label, QString::fromLatin1(panes[i].light), QString::fromLatin1(panes[i].xkbName),
                           panes[i].modifier, panes[i].text};
    }
    if (windowSystem) {
        m_xkb = new XkbIndicators(this);
        connect(m_xkb, &XkbIndicators::Changed, this, [this] { Refresh(); });
        m_hasKeyModifiers =
            !m_xkb->IsAvailable() && QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    }
    qApp->installEventFilter(this);
    Refresh();
}

ELockState LockIndicators::ReadLight(const QString& light) const {
    // One light per keyboard: on when any keyboard shows it.
    const QStringList devices =
        QDir(m_ledFolder).entryList({QStringLiteral("*::") + light}, QDir::Dirs | QDir::NoDotAndDotDot);
    ELockState state = ELockState::Unknown;
    for (const QString& device : devices) {
        QFile file(m_ledFolder + QLatin1Char('/') + device + QStringLiteral("/brightness"));
        if (!file.open(QIODevice::ReadOnly)) continue;
        bool ok = false;
        const int value = file.readAll().trimmed().toInt(&ok);
        if (!ok) continue;
        if (value > 0) return ELockState::On;
        state = ELockState::Off;
    }
    return state;
}

ELockState LockIndicators::State(int indicatorIndex) {
    const LockLight& indicator = m_indicators[static_cast<std::size_t>(indicatorIndex)];
    if (m_xkb) {
        if (const std::optional<bool> isOn = m_xkb->State(indicator.xkbName))
            return *isOn ? ELockState::On : ELockState::Off;
    }
    if (m_keyModifiers && indicator.modifier != 0)
        return (*m_keyModifiers & indicator.modifier) ? ELockState::On : ELockState::Off;
    return ReadLight(indicator.light);
}

void LockIndicators::Refresh() {
    for (int i = 0; i < 4; ++i) {
        LockLight& indicator = m_indicators[static_cast<std::size_t>(i)];
        if (!indicator.label) continue;
        const ELockState state = State(i);
        indicator.label->setText(state == ELockState::Off ? QString() : indicator.text);
        indicator.label->setEnabled(state == ELockState::On);
        indicator.label->setAccessibleDescription(state == ELockState::On    ? QStringLiteral("オン")
                                                  : state == ELockState::Off ? QStringLiteral("オフ")
                                                                             : QStringLiteral("不明"));
    }
}

bool LockIndicators::eventFilter(QObject* object, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Every key event carries the locks; a lock key's own release tells its new state.
        if (m_hasKeyModifiers && key->nativeModifiers() != m_keyModifiers.value_or(~0u)) {
            m_keyModifiers = key->nativeModifiers();
            Refresh();
            return false;
        }
        if (event->type() != QEvent::KeyRelease) return false;
        switch (key->key()) {
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
        case Qt::Key_ScrollLock:
        case Qt::Key_Kana_Lock:
        case Qt::Key_Kana_Shift: Refresh(); break;
        default: break;
        }
    } else if (event->type() == QEvent::ApplicationStateChange && object == qApp) {
        if (qApp->applicationState() == Qt::ApplicationActive) Refresh();
    }
    return false;
}
