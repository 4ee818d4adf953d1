#include "desktop/LockIndicators.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>

CLockIndicators::CLockIndicators(QStatusBar* pBar, const QString& sLedFolder)
    : QObject(pBar), m_sLedFolder(sLedFolder) {
    struct SPane {
        const char* name;
        const char* light;
        QString text;
        QString accessible;
    };
    const SPane panes[4] = {
        {"indicatorKana", "kana", QStringLiteral("ｶﾅ"), QStringLiteral("カナ ロック")},
        {"indicatorCaps", "capslock", QStringLiteral("CAP"), QStringLiteral("Caps Lock")},
        {"indicatorNum", "numlock", QStringLiteral("NUM"), QStringLiteral("Num Lock")},
        {"indicatorScroll", "scrolllock", QStringLiteral("SCRL"), QStringLiteral("Scroll Lock")},
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
        m_indicators[i] = {pLabel, QString::fromLatin1(panes[i].light), panes[i].text};
    }
    qApp->installEventFilter(this);
    Refresh();
}

ELockState CLockIndicators::ReadLight(const QString& light) const {
    // One light per keyboard: on when any keyboard shows it.
    const QStringList devices =
        QDir(m_sLedFolder).entryList({QStringLiteral("*::") + light}, QDir::Dirs | QDir::NoDotAndDotDot);
    ELockState state = ELockState::Unknown;
    for (const QString& device : devices) {
        QFile file(m_sLedFolder + QLatin1Char('/') + device + QStringLiteral("/brightness"));
        if (!file.open(QIODevice::ReadOnly)) continue;
        bool bOk = false;
        const int nValue = file.readAll().trimmed().toInt(&bOk);
        if (!bOk) continue;
        if (nValue > 0) return ELockState::On;
        state = ELockState::Off;
    }
    return state;
}

void CLockIndicators::Refresh() {
    for (SIndicator& indicator : m_indicators) {
        if (!indicator.pLabel) continue;
        const ELockState state = ReadLight(indicator.light);
        indicator.pLabel->setText(state == ELockState::Off ? QString() : indicator.text);
        indicator.pLabel->setEnabled(state == ELockState::On);
        indicator.pLabel->setAccessibleDescription(state == ELockState::On    ? QStringLiteral("オン")
                                                   : state == ELockState::Off ? QStringLiteral("オフ")
                                                                              : QStringLiteral("不明"));
    }
}

bool CLockIndicators::eventFilter(QObject* pObject, QEvent* pEvent) {
    if (pEvent->type() == QEvent::KeyRelease) {
        switch (static_cast<QKeyEvent*>(pEvent)->key()) {
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
