// The ｶﾅ, CAP, NUM and SCRL panes of the status bar. Each light's state comes from the
// first source that knows it: the X server's keyboard lights (XKB, what an X session,
// also a remote or virtual one, shows); on Wayland the lock modifiers of the last key
// event; then the keyboard lights the kernel reports (/sys/class/leds/<device>::capslock
// and so on). A light that nothing tells of shows grey, for "not known".
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <optional>

class XkbIndicators;
class QLabel;
class QStatusBar;

enum class ELockState { Off, On, Unknown };

class LockIndicators : public QObject {
public:
    /// Adds the four panes to the status bar; ledFolder is where the kernel's lights
    /// are read; windowSystem: also ask the window system (tests of the kernel's
    /// lights alone turn it off).
    explicit LockIndicators(QStatusBar* bar, const QString& ledFolder = QStringLiteral("/sys/class/leds"),
                            bool windowSystem = true);

    /// Reads the lights again and shows them.
    void Refresh();
    /// The state of one light ("kana", "capslock", "numlock", "scrolllock") as the
    /// kernel reports it.
    ELockState ReadLight(const QString& light) const;
    /// The state of one light from the first source that knows it.
    ELockState State(int indicatorIndex);

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    struct LockLight {
        QPointer<QLabel> label;
        QString light;     // the kernel's name
        QString xkbName;   // the X keymap's name
        quint32 modifier;  // the modifier bit of a key event's native state (0: none)
        QString text;
    };
    std::array<LockLight, 4> m_indicators;
    QString m_ledFolder;
    XkbIndicators* m_xkb = nullptr;
    /// The native modifier state of the last key event, where the window system tells
    /// the locks nowhere else (Wayland).
    std::optional<quint32> m_keyModifiers;
    bool m_hasKeyModifiers = false;
};
