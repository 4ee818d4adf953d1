// The ｶﾅ, CAP, NUM and SCRL panes of the status bar. Their state comes from the keyboard
// lights the kernel reports (/sys/class/leds/<device>::capslock and so on), read again
// when a lock key is released and when the program becomes active; where no light is
// reported the text stays grey, for "not known".
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <array>

class QLabel;
class QStatusBar;

enum class ELockState { Off, On, Unknown };

class CLockIndicators : public QObject {
public:
    /// Adds the four panes to the status bar; sLedFolder is where the lights are read.
    explicit CLockIndicators(QStatusBar* pBar, const QString& sLedFolder = QStringLiteral("/sys/class/leds"));

    /// Reads the lights again and shows them.
    void Refresh();
    /// The state of one light ("kana", "capslock", "numlock", "scrolllock") as reported.
    ELockState ReadLight(const QString& light) const;

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;

private:
    struct SIndicator {
        QPointer<QLabel> pLabel;
        QString light;
        QString text;
    };
    std::array<SIndicator, 4> m_indicators;
    QString m_sLedFolder;
};
