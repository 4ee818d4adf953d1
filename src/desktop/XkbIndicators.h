// The keyboard's lock lights as the X server keeps them (its keyboard extension, XKB):
// the state of the lights named "Caps Lock", "Num Lock", "Scroll Lock" and "Kana" in
// the keymap, read when asked and reported when the server says one Changed. This is
// what an X session shows, also a remote or virtual one whose keyboard has no lights
// the kernel knows of.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QObject>
#include <QString>
#include <optional>

class XkbIndicators : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    /// Connects to the program's X display; IsAvailable() is false on any other
    /// platform or without the extension.
    explicit XkbIndicators(QObject* parent = nullptr);
    ~XkbIndicators() override;

    bool IsAvailable() const { return m_connection != nullptr; }
    /// Whether the light of that name ("Caps Lock", ...) is on; nothing when the keymap
    /// has no such light or the server does not answer.
    std::optional<bool> State(const QString& name);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

Q_SIGNALS:
    /// A light went on or off (or the keyboard Changed).
    void Changed();

private:
    /// Reads which light has which bit of the indicator state.
    void ReadNames();

    void* m_connection = nullptr;  // xcb_connection_t, while the extension is there
    quint8 m_firstEvent = 0;
    QHash<QString, int> m_bits;  // light name -> bit of the indicator state
};
