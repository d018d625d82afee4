#include "widgets/parent_background_win.h"

void PaintParentBackground(HWND control, HDC dc) {
  HWND parent = GetParent(control);
  if (!parent) return;
  POINT origin{0, 0};
  MapWindowPoints(control, parent, &origin, 1);
  RECT parentClient;
  GetClientRect(parent, &parentClient);
  const int saved = SaveDC(dc);
  OffsetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
  IntersectClipRect(dc, parentClient.left, parentClient.top, parentClient.right,
                    parentClient.bottom);
  SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  RestoreDC(dc, saved);
}
