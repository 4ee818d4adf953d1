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

LockIndicators::LockIndicators(QStatusBar* pBar, const QString& sLedFolder, bool bWindowSystem)
    : QObject(pBar), m_ledFolder(sLedFolder) {
    struct LockPane {
        const char* name;
        const char* light;
        const char* xkbName;
        quint32 nModifier;
        QString text;
        QString accessible;
    };
    const LockPane panes[4] = {
        {"indicatorKana", "kana", "Kana", 0, QStringLiteral("ｶﾅ"), QStringLiteral("カナ ロック")},
        {"indicatorCaps", "capslock", "Caps Lock", kLockModifier, QStringLiteral("CAP"), QStringLiteral("Caps Lock")},
        {"indicatorNum", "numlock", "Num Lock", kMod2Modifier, QStringLiteral("NUM"), QStringLiteral("Num Lock")},
        {"indicatorScroll", "scrolllock", "Scroll Lock", 0, QStringLiteral("SCRL"), QStringLiteral("Scroll Lock")},
    };
    for (int i = 0; i < 4; ++i) {
        auto* pLabel = new QLabel(panes[i].text, pBar);
        pLabel->setObjectName(QString::fromLatin1(panes[i].name));
        pLabel->setAccessibleName(panes[i].accessible);
        pLabel->setFrameShape(QFrame::Panel);
        pLabel->setFrameShadow(QFrame::Sunken);
        pLabel->setAlignment(Qt::AlignCenter);
        // The pane keeps its width while its text is blank.
        pLabel->setMinimumWidth(pLabel->sizeHint().width() + 6);
        pBar->addPermanentWidget(pLabel);
        m_indicators[i] = {pLabel, QString::fromLatin1(panes[i].light), QString::fromLatin1(panes[i].xkbName),
                           panes[i].nModifier, panes[i].text};
    }
    if (bWindowSystem) {
        m_xkb = new XkbIndicators(this);
        connect(m_xkb, &XkbIndicators::changed, this, [this] { Refresh(); });
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
        bool bOk = false;
        const int nValue = file.readAll().trimmed().toInt(&bOk);
        if (!bOk) continue;
        if (nValue > 0) return ELockState::On;
        state = ELockState::Off;
    }
    return state;
}

ELockState LockIndicators::State(int nIndicator) {
    const LockLight& indicator = m_indicators[static_cast<std::size_t>(nIndicator)];
    if (m_xkb) {
        if (const std::optional<bool> bOn = m_xkb->State(indicator.xkbName))
            return *bOn ? ELockState::On : ELockState::Off;
    }
    if (m_keyModifiers && indicator.nModifier != 0)
        return (*m_keyModifiers & indicator.nModifier) ? ELockState::On : ELockState::Off;
    return ReadLight(indicator.light);
}

void LockIndicators::Refresh() {
    for (int i = 0; i < 4; ++i) {
        LockLight& indicator = m_indicators[static_cast<std::size_t>(i)];
        if (!indicator.pLabel) continue;
        const ELockState state = State(i);
        indicator.pLabel->setText(state == ELockState::Off ? QString() : indicator.text);
        indicator.pLabel->setEnabled(state == ELockState::On);
        indicator.pLabel->setAccessibleDescription(state == ELockState::On    ? QStringLiteral("オン")
                                                   : state == ELockState::Off ? QStringLiteral("オフ")
                                                                              : QStringLiteral("不明"));
    }
}

bool LockIndicators::eventFilter(QObject* pObject, QEvent* pEvent) {
    if (pEvent->type() == QEvent::KeyPress || pEvent->type() == QEvent::KeyRelease) {
        auto* pKey = static_cast<QKeyEvent*>(pEvent);
        // Every key event carries the locks; a lock key's own release tells its new state.
        if (m_hasKeyModifiers && pKey->nativeModifiers() != m_keyModifiers.value_or(~0u)) {
            m_keyModifiers = pKey->nativeModifiers();
            Refresh();
            return false;
        }
        if (pEvent->type() != QEvent::KeyRelease) return false;
        switch (pKey->key()) {
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
        case Qt::Key_ScrollLock:
        case Qt::Key_Kana_Lock:
        case Qt::Key_Kana_Shift: Refresh(); break;
        default: break;
        }
    } else if (pEvent->type() == QEvent::ApplicationStateChange && pObject == qApp) {
        if (qApp->applicationState() == Qt::ApplicationActive) Refresh();
    }
    return false;
}
