// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "x11_move_request.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#if defined(VOSTREL_HAS_XCB)
#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string_view>
#include <vector>
#endif

namespace vostrel::platform::qt {

#if defined(VOSTREL_HAS_XCB)
namespace {

// _NET_WM_MOVERESIZE's actions.
constexpr std::uint32_t kMove = 8;
constexpr std::uint32_t kCancel = 11;

// An xcb reply or error, freed with free().
template <typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
Owned<Reply> Own(Reply* reply) {
  return Owned<Reply>(reply, &std::free);
}

xcb_connection_t* Connection() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr ? x11->connection() : nullptr;
}

struct Atoms {
  xcb_connection_t* connection = nullptr;
  xcb_atom_t moveResize = XCB_ATOM_NONE;
  xcb_atom_t supported = XCB_ATOM_NONE;
  xcb_atom_t supportingCheck = XCB_ATOM_NONE;
};

xcb_atom_t Atom(xcb_connection_t* connection, std::string_view name) {
  const auto reply = Own(xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data()),
      nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// Looked up once for the connection.
const Atoms& AtomsOf(xcb_connection_t* connection) {
  static Atoms atoms;
  if (atoms.connection != connection) {
    atoms = {connection, Atom(connection, "_NET_WM_MOVERESIZE"), Atom(connection, "_NET_SUPPORTED"),
             Atom(connection, "_NET_SUPPORTING_WM_CHECK")};
  }
  return atoms;
}

// A window's 32-bit property of `type`; empty where the window or the property is missing.
std::vector<std::uint32_t> Property(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name,
                                    xcb_atom_t type) {
  xcb_generic_error_t* error = nullptr;  // a window that is gone is no error worth reporting
  const auto reply = Own(xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, window, name, type, 0, 4096), &error));
  std::free(error);
  if (!reply || reply->format != 32) return {};
  const std::span values(static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get())),
                         static_cast<std::size_t>(xcb_get_property_value_length(reply.get())) / 4);
  return {values.begin(), values.end()};
}

// Whether a window manager runs now and moves windows on request. The window _NET_SUPPORTING_WM_CHECK names
// on the root names itself too while its window manager runs; one that has exited leaves the root's
// properties behind.
bool WindowManagerMoves(xcb_connection_t* connection, xcb_window_t root, const Atoms& atoms) {
  const auto check = Property(connection, root, atoms.supportingCheck, XCB_ATOM_WINDOW);
  if (check.size() != 1 ||
      Property(connection, check.front(), atoms.supportingCheck, XCB_ATOM_WINDOW) != check)
    return false;
  return std::ranges::count(Property(connection, root, atoms.supported, XCB_ATOM_ATOM), atoms.moveResize) > 0;
}

void SendMoveResize(xcb_connection_t* connection, xcb_window_t root, xcb_window_t window, QPoint at,
                    std::uint32_t action) {
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = window;
  message.type = AtomsOf(connection).moveResize;
  message.data.data32[0] = static_cast<std::uint32_t>(at.x());
  message.data.data32[1] = static_cast<std::uint32_t>(at.y());
  message.data.data32[2] = action;
  message.data.data32[3] = 1;  // the left button
  message.data.data32[4] = 1;  // asked for by a normal application
  xcb_send_event(connection, 0, root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(connection);
}

// The server's word on the pointer over `window`: the button held, the root of its X screen, where it is.
Owned<xcb_query_pointer_reply_t> Pointer(xcb_connection_t* connection, xcb_window_t window) {
  return Own(xcb_query_pointer_reply(connection, xcb_query_pointer(connection, window), nullptr));
}

}  // namespace

bool OnX11() {
  return Connection() != nullptr;
}

X11MoveRequest RequestX11Move(QWidget& window, QPointF grabbed) {
  xcb_connection_t* connection = Connection();
  QWindow* handle = window.windowHandle();
  if (connection == nullptr || handle == nullptr) return X11MoveRequest::kNobodyToAsk;
  const auto id = static_cast<xcb_window_t>(handle->winId());
  const auto screen = Pointer(connection, id);  // the root of the pointer's own X screen
  if (!screen || !WindowManagerMoves(connection, screen->root, AtomsOf(connection)))
    return X11MoveRequest::kNobodyToAsk;
  // The server's word, not the events read so far, as late as can be: a release may be queued behind them.
  const auto pointer = Pointer(connection, id);
  if (!pointer || !pointer->same_screen || !(pointer->mask & XCB_BUTTON_MASK_1))
    return X11MoveRequest::kButtonIsUp;
  // The press in the server's pixels: the window's corner there, plus the press in the window in Qt's
  // device-independent pixels (QT_SCALE_FACTOR), scaled before it is rounded.
  const QPoint corner(pointer->root_x - pointer->win_x, pointer->root_y - pointer->win_y);
  const QPoint pressed = corner + (grabbed * handle->devicePixelRatio()).toPoint();
  // The window manager can only take the pointer once the press's own grab is let go.
  xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
  SendMoveResize(connection, pointer->root, id, pressed, kMove);
  return X11MoveRequest::kAsked;
}

void CancelX11Move(QWidget& window) {
  xcb_connection_t* connection = Connection();
  QWindow* handle = window.windowHandle();
  if (connection == nullptr || handle == nullptr) return;
  const auto id = static_cast<xcb_window_t>(handle->winId());
  if (const auto pointer = Pointer(connection, id))
    SendMoveResize(connection, pointer->root, id, {}, kCancel);
}

#else

bool OnX11() {
  return false;
}

X11MoveRequest RequestX11Move(QWidget&, QPointF) {
  return X11MoveRequest::kNobodyToAsk;
}

void CancelX11Move(QWidget&) {}

#endif

}  // namespace vostrel::platform::qt
