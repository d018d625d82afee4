#pragma once

#include <windows.h>

// The window procedure of a class whose every window belongs to one object, handed over as the
// creation parameter of CreateWindowEx. The object's OnMessage gets every message from WM_NCCREATE
// on; its window_ holds the window until WM_NCDESTROY and is empty afterwards. The object is not
// freed with the window: a handler still running when the window is destroyed finds window_ empty.
template <typename Object>
LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<Object*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    created->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* object = reinterpret_cast<Object*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!object) return DefWindowProcW(window, message, wParam, lParam);
  const LRESULT result = object->OnMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    object->window_ = nullptr;
  }
  return result;
}
