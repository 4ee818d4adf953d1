#include "desktop/XkbIndicators.h"

#include <QCoreApplication>
#include <QGuiApplication>

#ifdef NELO_HAVE_XKB
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <xcb/xcb.h>
// The C header names a member "explicit", which C++ reserves.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wkeyword-macro"
#endif
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

namespace {

xcb_connection_t* Connection(void* p) { return static_cast<xcb_connection_t*>(p); }

}  // namespace

XkbIndicators::XkbIndicators(QObject* parent) : QObject(parent) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c) return;
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_xkb_id);
    if (!extension || !extension->present) return;
    xcb_xkb_use_extension_reply_t* use =
        xcb_xkb_use_extension_reply(c, xcb_xkb_use_extension(c, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION), nullptr);
    const bool supported = use && use->supported;
    std::free(use);
    if (!supported) return;
    m_connection = c;
    m_firstEvent = extension->first_event;
    // The server tells this client when a light changes, wherever the key was pressed.
    // Only this kind of event is touched: the ones Qt asked for stay as they are.
    const uint16_t events = XCB_XKB_EVENT_TYPE_INDICATOR_STATE_NOTIFY | XCB_XKB_EVENT_TYPE_NAMES_NOTIFY;
    xcb_xkb_select_events(c, XCB_XKB_ID_USE_CORE_KBD, events, 0, events, 0, 0, nullptr);
    xcb_flush(c);
    ReadNames();
    QCoreApplication::instance()->installNativeEventFilter(this);
}

XkbIndicators::~XkbIndicators() {
    if (m_connection && QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

void XkbIndicators::ReadNames() {
    m_bits.clear();
    xcb_connection_t* c = Connection(m_connection);
    xcb_xkb_get_names_reply_t* reply = xcb_xkb_get_names_reply(
        c, xcb_xkb_get_names(c, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_NAME_DETAIL_INDICATOR_NAMES), nullptr);
    if (!reply) return;
    xcb_xkb_get_names_value_list_t list;
    xcb_xkb_get_names_value_list_unpack(xcb_xkb_get_names_value_list(reply), reply->nTypes, reply->indicators,
                                        reply->virtualMods, reply->groupNames, reply->nKeys, reply->nKeyAliases,
                                        reply->nRadioGroups, reply->which, &list);
    const int names = xcb_xkb_get_names_value_list_indicator_names_length(reply, &list);
    const xcb_atom_t* atoms = xcb_xkb_get_names_value_list_indicator_names(&list);
    // The names stand for the set bits of "indicators", lowest first.
    int nameIndex = 0;
    for (int bit = 0; bit < 32 && nameIndex < names; ++bit) {
        if (!(reply->indicators & (1u << bit))) continue;
        const xcb_atom_t atom = atoms[nameIndex++];
        if (atom == XCB_ATOM_NONE) continue;
        xcb_get_atom_name_reply_t* nameReply = xcb_get_atom_name_reply(c, xcb_get_atom_name(c, atom), nullptr);
        if (!nameReply) continue;
        m_bits.insert(QString::fromLatin1(xcb_get_atom_name_name(nameReply), xcb_get_atom_name_name_length(nameReply)),
                      bit);
        std::free(nameReply);
    }
    std::free(reply);
}

std::optional<bool> XkbIndicators::State(const QString& name) {
    if (!m_connection) return std::nullopt;
    const auto found = m_bits.constFind(name);
    if (found == m_bits.constEnd()) return std::nullopt;
    xcb_connection_t* c = Connection(m_connection);
    xcb_xkb_get_indicator_state_reply_t* reply =
        xcb_xkb_get_indicator_state_reply(c, xcb_xkb_get_indicator_state(c, XCB_XKB_ID_USE_CORE_KBD), nullptr);
    if (!reply) return std::nullopt;
    const bool isOn = (reply->state & (1u << found.value())) != 0;
    std::free(reply);
    return isOn;
}

bool XkbIndicators::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* /*result*/) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != m_firstEvent) return false;
    // Every keyboard event of the extension carries its kind in the second byte.
    switch (event->pad0) {
    case XCB_XKB_NAMES_NOTIFY:
    case XCB_XKB_NEW_KEYBOARD_NOTIFY:
        ReadNames();
        Q_EMIT Changed();
        break;
    case XCB_XKB_INDICATOR_STATE_NOTIFY: Q_EMIT Changed(); break;
    default: break;
    }
    return false;
}

#else  // Built without the X keyboard extension's library: nothing to ask.

XkbIndicators::XkbIndicators(QObject* parent) : QObject(parent) {}
XkbIndicators::~XkbIndicators() = default;
void XkbIndicators::ReadNames() {}
std::optional<bool> XkbIndicators::State(const QString&) { return std::nullopt; }
bool XkbIndicators::nativeEventFilter(const QByteArray&, void*, qintptr*) { return false; }

#endif
