// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "window_mover.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <utility>

#if defined(VOSTREL_HAS_XCB)
#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <cstdint>
#include <cstdlib>
#endif

namespace vostrel::platform::qt {
namespace {

// Calls off a move the window manager was asked for (_NET_WM_MOVERESIZE_CANCEL), where the window system is
// X11.
void CancelSystemMove([[maybe_unused]] QWidget& window) {
#if defined(VOSTREL_HAS_XCB)
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || window.windowHandle() == nullptr) return;
  xcb_connection_t* connection = x11->connection();
  static constexpr char kName[] = "_NET_WM_MOVERESIZE";
  xcb_intern_atom_reply_t* atom =
      xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr);
  if (atom == nullptr) return;
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  const QPoint pointer = QCursor::pos(window.screen());
  xcb_client_message_event_t cancel{};
  cancel.response_type = XCB_CLIENT_MESSAGE;
  cancel.format = 32;
  cancel.window = static_cast<xcb_window_t>(window.windowHandle()->winId());
  cancel.type = atom->atom;
  cancel.data.data32[0] = static_cast<std::uint32_t>(pointer.x());
  cancel.data.data32[1] = static_cast<std::uint32_t>(pointer.y());
  cancel.data.data32[2] = 11;  // _NET_WM_MOVERESIZE_CANCEL
  cancel.data.data32[3] = 1;   // the left button
  cancel.data.data32[4] = 1;   // asked for by a normal application
  std::free(atom);
  xcb_send_event(connection, 0, screen->root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&cancel));
  xcb_flush(connection);
#endif
}

}  // namespace

void WindowMover::Start(QWidget& window) {
  // Its release already handled (the caption's press pumps the events queued behind it): nothing to move.
  if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) return;
  QWindow* handle = window.windowHandle();
  if (handle != nullptr && handle->startSystemMove()) {
    systemMoved_ = &window;
    return;
  }
  // No window manager move here (none runs, or the platform has none): follow the pointer ourselves.
  following_ = &window;
  offset_ = pressedAt_ - window.pos();
}

void WindowMover::PointerMoved(const QMouseEvent& event) {
  if (following_ == nullptr) return;
  if (!(event.buttons() & Qt::LeftButton)) {
    following_ = nullptr;
    return;
  }
  following_->move(event.globalPosition().toPoint() - offset_);
}

void WindowMover::Released() {
  following_ = nullptr;
  if (systemMoved_ != nullptr) CancelSystemMove(*std::exchange(systemMoved_, nullptr));
}

}  // namespace vostrel::platform::qt
