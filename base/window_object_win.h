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

// The window procedure of a control class whose windows each own an object: made at WM_NCCREATE
// as Object(window, createStruct) and freed with the window. A window destroyed while one of its
// own messages is still being handled (a click whose handler waits in a box that a close ends)
// keeps its object until that handling has returned, so the code still on the stack never runs on
// a freed object.
template <typename Object>
class WindowOwnedObject {
 public:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* created = new WindowOwnedObject(window, *reinterpret_cast<CREATESTRUCTW*>(lParam));
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<WindowOwnedObject*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    ++self->handling_;
    const LRESULT result = self->object_.OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      self->destroyed_ = true;
    }
    if (--self->handling_ == 0 && self->destroyed_) delete self;
    return result;
  }

  // The object of a window of the class, or null once the window is destroyed.
  static Object* Of(HWND window) {
    auto* self = reinterpret_cast<WindowOwnedObject*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? &self->object_ : nullptr;
  }

 private:
  WindowOwnedObject(HWND window, const CREATESTRUCTW& create) : object_(window, create) {}

  Object object_;
  int handling_ = 0;
  bool destroyed_ = false;
};
