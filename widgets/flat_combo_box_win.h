#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "base/scoped_gdi_win.h"
#include "widgets/flat_combo_box.h"

// The flat drop-down list on a subclassed native pick-only combo box: the platform paints and
// runs the list, the subclass paints the flat frame and button over it and takes the keyboard
// search and the wheel. The parent hands over the notifications the combo box sends it
// (Reflect), as it does for no other control.
class FlatComboBoxWin final : public FlatComboBoxHost {
 public:
  FlatComboBoxWin() = default;
  FlatComboBoxWin(const FlatComboBoxWin&) = delete;
  FlatComboBoxWin& operator=(const FlatComboBoxWin&) = delete;

  void Create(HWND parent, int id, const Rect& bounds);
  // The font of the face and the list, and the height of the list's rows; repaints.
  void SetFont(HFONT font, int itemHeight);
  HWND Handle() const { return window_; }
  // The DPI the control is shown at, as the window it sits in has it; repaints.
  void SetDpi(int dpi);
  // Assistive technology names the list after the label's text as it is when asked.
  void NameAfter(HWND label) { label_ = label; }

  // Handles the parent's message when it is a notification of this control.
  bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // Appends at the end; raises UnableToInsertLine when the platform refuses the entry.
  int Add(const std::string& text);
  int ItemIndex() const { return state_.ItemIndex(); }
  void SetItemIndex(int index) { state_.SetItemIndex(index); }
  std::string Text() const;
  void SetVisible(bool visible);

  int Count() const override;
  std::string Item(int index) const override;
  int Selected() const override;
  void Select(int index) override;
  int TopIndex() const override;
  void SetTopIndex(int index) override;
  int WheelScrollLines() const override;
  void Beep() override;
  void RestartSearchTimer(int milliseconds) override;
  void StopSearchTimer() override;
  void Invalidate(const Rect& area, bool erase) override;

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR self);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The native combo box's own handling of a message.
  LRESULT CallNative(UINT message, WPARAM wParam, LPARAM lParam);
  void OnPaint(HDC given);
  void OnMouseMove();
  void OnMouseLeave();
  LRESULT OnChar(WPARAM wParam, LPARAM lParam);
  void OnDropDown();
  void OnCloseUp();
  LRESULT OnColor(HDC dc);
  void SyncSize();
  int ScrollBarWidth() const;
  bool IsOwnWindow(HWND window) const;

  HWND window_ = nullptr;
  HWND list_ = nullptr;
  HWND label_ = nullptr;
  // Not told yet: drawn at 96.
  std::optional<int> dpi_;
  FlatComboBox state_{*this};
  bool trackingLeave_ = false;
  wchar_t highSurrogate_ = 0;
  ScopedGdiObject<HBRUSH> brush_;
  COLORREF brushColor_ = CLR_INVALID;
};
