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
#endif

namespace vostrel::platform::qt {

#if defined(VOSTREL_HAS_XCB)
namespace {

// _NET_WM_MOVERESIZE's actions.
constexpr std::uint32_t kMove = 8;
constexpr std::uint32_t kCancel = 11;

// An xcb reply, freed with free().
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

xcb_atom_t Atom(xcb_connection_t* connection, std::string_view name) {
  const auto reply = Own(xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data()),
      nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_window_t Root(xcb_connection_t* connection) {
  return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// Whether the running window manager lists the move request among those it supports.
bool WindowManagerMoves(xcb_connection_t* connection, xcb_atom_t moveResize) {
  const xcb_atom_t supported = Atom(connection, "_NET_SUPPORTED");
  const auto reply = Own(xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, Root(connection), supported, XCB_ATOM_ATOM, 0, 4096),
      nullptr));
  if (!reply || reply->format != 32) return false;
  const std::span atoms(
      static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get())),
      static_cast<std::size_t>(xcb_get_property_value_length(reply.get())) / sizeof(xcb_atom_t));
  return std::ranges::find(atoms, moveResize) != atoms.end();
}

void SendMoveResize(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t moveResize, QPoint at,
                    std::uint32_t action) {
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = window;
  message.type = moveResize;
  message.data.data32[0] = static_cast<std::uint32_t>(at.x());
  message.data.data32[1] = static_cast<std::uint32_t>(at.y());
  message.data.data32[2] = action;
  message.data.data32[3] = 1;  // the left button
  message.data.data32[4] = 1;  // asked for by a normal application
  xcb_send_event(connection, 0, Root(connection),
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(connection);
}

}  // namespace

bool OnX11() {
  return Connection() != nullptr;
}

X11MoveRequest RequestX11Move(QWidget& window, QPoint pressedAt) {
  xcb_connection_t* connection = Connection();
  QWindow* handle = window.windowHandle();
  if (connection == nullptr || handle == nullptr) return X11MoveRequest::kNobodyToAsk;
  const auto id = static_cast<xcb_window_t>(handle->winId());
  // The server's word on the button, not the events read so far: a tap's release may be queued behind them.
  const auto pointer = Own(xcb_query_pointer_reply(connection, xcb_query_pointer(connection, id), nullptr));
  if (!pointer || !(pointer->mask & XCB_BUTTON_MASK_1)) return X11MoveRequest::kButtonIsUp;
  const xcb_atom_t moveResize = Atom(connection, "_NET_WM_MOVERESIZE");
  if (moveResize == XCB_ATOM_NONE || !WindowManagerMoves(connection, moveResize))
    return X11MoveRequest::kNobodyToAsk;
  // The press in the server's pixels: the window's corner there, plus the press's offset from the corner,
  // which Qt's scaling (QT_SCALE_FACTOR) leaves in device-independent pixels.
  const QPoint corner(pointer->root_x - pointer->win_x, pointer->root_y - pointer->win_y);
  const QPoint pressed =
      corner + (QPointF(window.mapFromGlobal(pressedAt)) * handle->devicePixelRatio()).toPoint();
  // The window manager can only take the pointer once the press's own grab is let go.
  xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
  SendMoveResize(connection, id, moveResize, pressed, kMove);
  return X11MoveRequest::kAsked;
}

void CancelX11Move(QWidget& window) {
  xcb_connection_t* connection = Connection();
  QWindow* handle = window.windowHandle();
  if (connection == nullptr || handle == nullptr) return;
  const xcb_atom_t moveResize = Atom(connection, "_NET_WM_MOVERESIZE");
  if (moveResize == XCB_ATOM_NONE) return;
  SendMoveResize(connection, static_cast<xcb_window_t>(handle->winId()), moveResize, {}, kCancel);
}

#else

bool OnX11() {
  return false;
}

X11MoveRequest RequestX11Move(QWidget&, QPoint) {
  return X11MoveRequest::kNobodyToAsk;
}

void CancelX11Move(QWidget&) {}

#endif

}  // namespace vostrel::platform::qt
