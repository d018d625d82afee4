#pragma once

#include <windows.h>

#include <functional>

#include "widgets/accessible.h"

// Whether a WM_GETOBJECT asks for the window's client object, the one that stands for the
// control. lParam is sign-extended on 64-bit systems: only its low 32 bits name the object.
bool AsksForClientObject(LPARAM lParam);

// The answer to WM_GETOBJECT for the client object: the system's standard object for the window,
// with what `facts` sets answered in its place. A default action posts BM_CLICK to the window
// and returns at once, so the reader is never held by whatever the click opens; it is refused
// where a mouse click could not come, on a disabled control or window. `facts` is asked
// at every question, also once the window has gone, and so may hold only the window handles it
// reads. 0 when the system's accessibility library cannot be had: the system answers then.
LRESULT AnswerClientObject(HWND window, WPARAM wParam, std::function<AccessibleFacts()> facts);

// The answer for a control whose window object, found by `find` at every question, gives its
// facts; once the window has gone the standard object answers alone.
template <auto find>
LRESULT AnswerClientObjectOf(HWND window, WPARAM wParam) {
  return AnswerClientObject(window, wParam, [window] {
    const auto* object = find(window);
    return object ? object->Facts() : AccessibleFacts{};
  });
}

// Tells readers when what a button shows pressed or hot changes, which only the button knows.
class StateAnnouncer {
 public:
  void Show(HWND window, ButtonFlags flags);

 private:
  ButtonFlags shown_;
};
