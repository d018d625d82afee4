// A separate Win32 program that the end-to-end tests run beside the tool, in the same Wine
// prefix: it reads the tool's windows as any other program could and plugs drives in and out.
// Every answer is one "key=value" line of UTF-8 on standard output.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/text_win.h"
#include "wine_drives.h"

namespace {

void Say(const std::string& key, const std::string& value) {
  const std::string line = key + "=" + value + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written,
            nullptr);
}

std::string Text(HWND window) {
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return Narrow(text);
}

std::string Rect(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

// The window of the form's thread that has the keyboard focus.
HWND FocusedWindow(HWND form) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info) ? info.hwndFocus
                                                                          : nullptr;
}

void DescribeControl(HWND form, int id, const std::string& name) {
  HWND control = GetDlgItem(form, id);
  if (!control) return;
  Say(name + ".focused", control == FocusedWindow(form) ? "1" : "0");
  Say(name + ".text", Text(control));
  Say(name + ".visible", IsWindowVisible(control) ? "1" : "0");
  Say(name + ".enabled", IsWindowEnabled(control) ? "1" : "0");
  Say(name + ".rect", Rect(control));
}

int DescribeForm() {
  HWND form = FindWindowW(L"TForm1", nullptr);
  if (!form) return 1;
  Say("caption", Text(form));
  Say("rect", Rect(form));
  POINT origin{0, 0};
  ClientToScreen(form, &origin);
  RECT client;
  GetClientRect(form, &client);
  Say("client", std::to_string(origin.x) + "," + std::to_string(origin.y) + "," +
                    std::to_string(client.right) + "," + std::to_string(client.bottom));
  const LONG style = GetWindowLongW(form, GWL_STYLE);
  Say("maximizebox", (style & WS_MAXIMIZEBOX) ? "1" : "0");
  Say("sizable", (style & WS_THICKFRAME) ? "1" : "0");
  Say("enabled", IsWindowEnabled(form) ? "1" : "0");
  Say("visible", IsWindowVisible(form) ? "1" : "0");
  DescribeControl(form, 1, "label1");
  DescribeControl(form, 2, "devicebox");
  DescribeControl(form, 3, "savebutton");
  DescribeControl(form, 4, "infobutton");
  DescribeControl(form, 5, "fullver");
  HWND box = GetDlgItem(form, 2);
  const int count = static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0));
  std::string items;
  for (int i = 0; i < count; ++i) {
    std::wstring item(SendMessageW(box, CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
    item.resize(SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data())));
    items += (i ? "|" : "") + Narrow(item);
  }
  Say("devicebox.items", items);
  Say("devicebox.selected", std::to_string(SendMessageW(box, CB_GETCURSEL, 0, 0)));
  return 0;
}

BOOL CALLBACK DescribeBox(HWND window, LPARAM count) {
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  if (std::wstring(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  const std::string n = "box" + std::to_string((*reinterpret_cast<int*>(count))++);
  Say(n + ".caption", Text(window));
  wchar_t text[1024] = {};
  GetDlgItemTextW(window, 0xFFFF, text, 1024);
  Say(n + ".text", Narrow(text));
  HWND icon = GetDlgItem(window, 0x0440);
  Say(n + ".icon", icon && IsWindowVisible(icon) ? Rect(icon) : "none");
  HWND ok = GetDlgItem(window, IDOK);
  Say(n + ".ok", ok ? Rect(ok) : "none");
  return TRUE;
}

BOOL CALLBACK DescribeHint(HWND window, LPARAM) {
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  if (std::wstring(className) != TOOLTIPS_CLASSW || !IsWindowVisible(window)) return TRUE;
  Say("hint.rect", Rect(window));
  return FALSE;
}

int DescribeHint() {
  EnumWindows(DescribeHint, 0);
  return 0;
}

int DescribeBoxes() {
  int count = 0;
  EnumWindows(DescribeBox, reinterpret_cast<LPARAM>(&count));
  Say("boxes", std::to_string(count));
  return 0;
}

int DefineDrive(wchar_t letter, const std::string& unixPath) {
  const bool defined = DefineWineDrive(letter, DRIVE_REMOVABLE, unixPath);
  Say("defined", defined ? "1" : "0");
  return defined ? 0 : 3;
}

// Stands in for a PDF viewer: notes down the document the shell handed over.
int Record(const std::wstring& logFile, const std::wstring& document) {
  HANDLE log = CreateFileW(logFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           0, nullptr);
  if (log == INVALID_HANDLE_VALUE) return 2;
  const std::string line = Narrow(document) + "\n";
  DWORD written = 0;
  WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(log);
  return 0;
}

// Holds a file open without sharing, as a viewer that keeps its document locked.
int Hold(const std::wstring& path, int seconds) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  Say("holding", file != INVALID_HANDLE_VALUE ? "1" : "0");
  if (file == INVALID_HANDLE_VALUE) return 2;
  Sleep(seconds * 1000);
  CloseHandle(file);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"form") return DescribeForm();
  if (command == L"boxes") return DescribeBoxes();
  if (command == L"hint") return DescribeHint();
  if (command == L"acp") {
    Say("acp", std::to_string(GetACP()));
    return 0;
  }
  if (command == L"record" && argc == 4) return Record(argv[2], argv[3]);
  if (command == L"hold" && argc == 4) return Hold(argv[2], _wtoi(argv[3]));
  if (command == L"plug" && argc == 4) return DefineDrive(argv[2][0], Narrow(argv[3]));
  if (command == L"unplug" && argc == 3) return DefineDrive(argv[2][0], "");
  Say("usage",
      "form | boxes | acp | plug LETTER UNIXPATH | unplug LETTER | record LOG DOCUMENT | "
      "hold PATH SECONDS");
  return 64;
}
