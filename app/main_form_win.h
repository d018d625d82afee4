#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "app/control_ids.h"
#include "app/form_layout.h"
#include "app/run_progress.h"
#include "app/worker_win.h"
#include "app/write_run_state.h"
#include "base/scoped_gdi_win.h"
#include "base/tool_window_win.h"
#include "base/window_object_win.h"
#include "drives/drive_poll.h"
#include "drives/drive_source_win.h"
#include "widgets/flat_combo_box_win.h"

// The tool's one window: the prompt, the drive list, the write button, the change-log button
// and the version label. Its handlers are where everything else starts.
class TForm1 : public ToolWindow, public DrivePollView {
 public:
  // A write run shows its progress on the taskbar button.
  explicit TForm1(TaskbarProgress& taskbar) : progress_(taskbar) {}

  // Creates the window owned by the application window and shows it centred on the screen, its
  // handlers attached; raises ErrorCreating. The object outlives the window: a close while a
  // box is up destroys the window under a running handler, which then finds Handle() empty.
  void Create(HINSTANCE instance, HWND owner, int showCommand);

  // Handles one message the loop has taken from the thread's queue.
  void Route(MSG& message);

  HWND Handle() const override { return window_; }
  std::string SelectedDriveRoot() const override;
  void StartWriting(WorkerJob job, std::uint64_t setBytes) override;
  void StartChecking(WorkerJob job, std::uint64_t setBytes) override;

  int EntryCount() const override;
  std::string Entry(int index) const override;
  void AppendEntry(const std::string& root) override;
  int SelectedIndex() const override;
  void Select(int index) override;
  void SetListVisible(bool visible) override;
  void SetWriteEnabled(bool enabled) override;
  void SetPrompt(const std::string& caption, TColor fontColor) override;

 private:
  static constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

  template <typename Object>
  friend LRESULT CALLBACK ObjectWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  HWND CreateControl(const wchar_t* windowClass, const std::string& text, DWORD style, int id);
  void CreateHint();
  // Lays the window out for a DPI: fonts, pictures, places and the controls' drawing.
  void ApplyDpi(int dpi);
  Rect FramedBounds(int dpi, Point at) const;
  void PlaceAt(int dpi, Point at);
  void PlaceCentred();
  void OnDpiChanged(int dpi, const RECT& suggested);
  void SizePromptToText();
  void PrintLabels(HDC dc);
  LRESULT OnColorStatic(HDC dc, HWND control);
  void RepaintInNewColors();
  void SetInfoButtonPictures(int size);
  void OnActivate(WORD state, bool minimized);
  bool IsInputToWindow(const MSG& message) const;
  void DropInputQueuedDuringTheRun();
  void OnSystemCommand(WPARAM command);
  // Shows the boxes that close a run or a check; a close held meanwhile is carried out after.
  void FinishWork(LPARAM report);
  void RefreshCursor();

  void FormCreate();
  void Timer1Timer();
  // Lists the drives a look found, and shows the list's state where the run lets it.
  void DrivesFound(const DriveFindings& findings);
  void SaveButtonClick();
  void InfoButtonClick();

  HWND window_ = nullptr;
  HWND Label1 = nullptr;
  FlatComboBoxWin DeviceBox;
  HWND SaveButton = nullptr;
  HWND InfoButton = nullptr;
  HWND FullVer = nullptr;
  HWND hint_ = nullptr;
  HWND lastFocus_ = nullptr;
  TColor label1Color_ = clWindowText;
  int dpi_ = 96;
  // Whether the system scales the frame with the DPI, as it decided when the window was made.
  bool frameScales_ = false;
  FormLayout layout_ = LayoutForm(96);
  ScopedGdiObject<HFONT> formFont_;
  ScopedGdiObject<HFONT> fullVerFont_;
  ScopedGdiObject<HFONT> hintFont_;
  std::wstring hintText_;
  // Made with the window, to which it posts what it finds.
  std::optional<DriveWatch> drives_;
  WriteRunState runState_;
  Worker worker_;
  RunProgress progress_;
};
