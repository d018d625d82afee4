// A separate Win32 program that the end-to-end tests run beside the tool, in the same Wine
// prefix: it reads the tool's windows as any other program could and plugs drives in and out.
// Every answer is one "key=value" line of UTF-8 on standard output.
#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/control_ids.h"
#include "base/system_library_win.h"
#include "base/text_win.h"
#include "widgets/flat_combo_box_win.h"
#include "widgets/hot_button_win.h"
#include "widgets/image_button_win.h"
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

void SayMs(const std::string& key, double ms) {
  char value[32];
  snprintf(value, sizeof(value), "%.1f", ms);
  Say(key, value);
}

class Stopwatch {
 public:
  Stopwatch() {
    QueryPerformanceFrequency(&frequency_);
    QueryPerformanceCounter(&start_);
  }
  double Ms() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) /
           static_cast<double>(frequency_.QuadPart);
  }
  // When it started, in seconds of the performance counter, which Wine takes from Linux's
  // CLOCK_MONOTONIC_RAW: a Linux program can set its own times beside it.
  double StartSeconds() const {
    return static_cast<double>(start_.QuadPart) / static_cast<double>(frequency_.QuadPart);
  }

 private:
  LARGE_INTEGER frequency_, start_;
};

// Looks every millisecond until found() gives something or the time is up.
template <typename Found>
auto Await(DWORD timeoutMs, Found found) -> decltype(found()) {
  const DWORD start = GetTickCount();
  for (;;) {
    const auto value = found();
    if (value || GetTickCount() - start > timeoutMs) return value;
    Sleep(1);
  }
}

HWND Form() { return FindWindowW(L"TForm1", nullptr); }

// A top-level window of the probe's own, of a class of its own.
HWND MakeWindow(const wchar_t* className, WNDPROC procedure, int width, int height) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = className;
  RegisterClassW(&windowClass);
  return CreateWindowExW(0, className, L"Probe", WS_OVERLAPPEDWINDOW, 0, 0, width, height, nullptr,
                         nullptr, windowClass.hInstance, nullptr);
}

struct Answer {
  bool answered;
  DWORD_PTR result;
  double ms;
};

// Sends a message and waits up to timeoutMs for the window's answer.
Answer Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT timeoutMs) {
  const Stopwatch watch;
  DWORD_PTR result = 0;
  const bool answered =
      SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, timeoutMs, &result) != 0;
  return {answered, result, watch.Ms()};
}

HWND ShownForm() {
  HWND form = Form();
  return form && IsWindowVisible(form) ? form : nullptr;
}

HWND ShownBox() {
  for (HWND box = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); box;
       box = FindWindowExW(nullptr, box, L"#32770", nullptr)) {
    if (IsWindowVisible(box)) return box;
  }
  return nullptr;
}

std::string ListedDrives(HWND form) {
  HWND box = GetDlgItem(form, kDeviceBox);
  const int count = static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0));
  std::string items;
  for (int i = 0; i < count; ++i) {
    std::wstring item(SendMessageW(box, CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
    item.resize(SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data())));
    if (i) items += '|';
    items += Narrow(item);
  }
  return items;
}

bool Lists(HWND form, const std::string& root) {
  std::string items = ListedDrives(form);
  items.push_back('|');
  return items.find(root + '|') == 0 || items.find('|' + root + '|') != std::string::npos;
}

void DescribeControl(HWND form, int id, const std::string& name) {
  HWND control = GetDlgItem(form, id);
  if (!control) return;
  Say(name + ".text", Text(control));
  Say(name + ".visible", IsWindowVisible(control) ? "1" : "0");
  Say(name + ".enabled", IsWindowEnabled(control) ? "1" : "0");
  Say(name + ".rect", Rect(control));
}

BOOL CALLBACK FindOpenList(HWND window, LPARAM found) {
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  if (std::wstring(className) != L"ComboLBox" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

const std::pair<int, const char*> kControls[] = {{kLabel1, "label1"},
                                                 {kDeviceBox, "devicebox"},
                                                 {kSaveButton, "savebutton"},
                                                 {kInfoButton, "infobutton"},
                                                 {kFullVer, "fullver"}};

// Names a window of the tool as the form's answers do: a control, "form", "owner" or "none".
std::string WindowName(HWND form, HWND window) {
  if (!window) return "none";
  if (window == form) return "form";
  if (window == GetWindow(form, GW_OWNER)) return "owner";
  for (const auto& [id, name] : kControls)
    if (window == GetDlgItem(form, id)) return name;
  return "other";
}

// The keyboard focus and the active window of the tool's thread, which only it can see directly.
void DescribeFocus(HWND form) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info)) return;
  Say("focus", WindowName(form, info.hwndFocus));
  Say("active", WindowName(form, info.hwndActive));
}

// The window that holds the taskbar button: the one that owns the form.
void DescribeOwner(HWND form) {
  Say("appwindow", (GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_APPWINDOW) ? "1" : "0");
  HWND owner = GetWindow(form, GW_OWNER);
  if (!owner) return;
  Say("owner.caption", Text(owner));
  Say("owner.visible", IsWindowVisible(owner) ? "1" : "0");
  Say("owner.owned", GetWindow(owner, GW_OWNER) ? "1" : "0");
  Say("owner.toolwindow", (GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) ? "1" : "0");
  Say("owner.rect", Rect(owner));
}

int DescribeForm() {
  HWND form = Form();
  if (!form) return 1;
  Say("caption", Text(form));
  Say("rect", Rect(form));
  // A menu open anywhere, as the window's system menu is after Alt+Space.
  const HWND menu = FindWindowW(L"#32768", nullptr);
  Say("menu.visible", menu && IsWindowVisible(menu) ? "1" : "0");
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
  for (const auto& [id, name] : kControls) DescribeControl(form, id, name);
  DescribeFocus(form);
  DescribeOwner(form);
  HWND box = GetDlgItem(form, kDeviceBox);
  Say("devicebox.items", ListedDrives(form));
  Say("devicebox.selected", std::to_string(SendMessageW(box, CB_GETCURSEL, 0, 0)));
  Say("devicebox.dropped", std::to_string(SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0)));
  Say("devicebox.top", std::to_string(SendMessageW(box, CB_GETTOPINDEX, 0, 0)));
  // The open list is a window of its own on the tool's thread (the combo box's own report of it
  // does not cross processes).
  HWND list = nullptr;
  EnumThreadWindows(GetWindowThreadProcessId(box, nullptr), FindOpenList,
                    reinterpret_cast<LPARAM>(&list));
  if (list) Say("devicebox.list", Rect(list));
  return 0;
}

// The running colour scheme and metrics, as the tool sees them.
int DescribeScheme() {
  const std::pair<const char*, int> colors[] = {
      {"window", COLOR_WINDOW},       {"btnface", COLOR_BTNFACE},
      {"btnshadow", COLOR_BTNSHADOW}, {"btnhighlight", COLOR_BTNHIGHLIGHT},
      {"dkshadow", COLOR_3DDKSHADOW}, {"windowtext", COLOR_WINDOWTEXT},
      {"highlight", COLOR_HIGHLIGHT}, {"graytext", COLOR_GRAYTEXT},
      {"btntext", COLOR_BTNTEXT}};
  for (const auto& [name, index] : colors) {
    const COLORREF c = GetSysColor(index);
    Say(name, std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," +
                  std::to_string(GetBValue(c)));
  }
  Say("vscroll", std::to_string(GetSystemMetrics(SM_CXVSCROLL)));
  return 0;
}

int clicks = 0;

LRESULT CALLBACK CountClicks(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) ++clicks;
  return DefWindowProcW(window, message, wParam, lParam);
}

// What assistive technology learns of a control, asked as a screen reader's hook in the process
// would, and the clicks its default action brings before it returns and once messages are read.
void DescribeAccessible(const SystemLibrary& oleacc, HWND control, const std::string& name) {
  IAccessible* object = nullptr;
  const auto objectFromWindow = SYSTEM_FUNCTION(oleacc, AccessibleObjectFromWindow);
  objectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                   reinterpret_cast<void**>(&object));
  if (!object) return;
  VARIANT self{}, value{};
  self.vt = VT_I4;  // the control itself, CHILDID_SELF
  if (object->get_accRole(self, &value) == S_OK) Say(name + ".role", std::to_string(value.lVal));
  if (object->get_accState(self, &value) == S_OK) Say(name + ".state", std::to_string(value.lVal));
  for (const auto& [key, read] : {std::pair{".name", &IAccessible::get_accName},
                                  {".action", &IAccessible::get_accDefaultAction}}) {
    BSTR text = nullptr;
    if ((object->*read)(self, &text) == S_OK) Say(name + key, Narrow(text ? text : L""));
    SysFreeString(text);
  }
  clicks = 0;
  object->accDoDefaultAction(self);
  Say(name + ".clicks", std::to_string(clicks));
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  Say(name + ".clicks_later", std::to_string(clicks));
  object->Release();
}

// Makes the tool's controls in a window of its own, as the tool makes them, and describes each
// to assistive technology: the write button focused, then disabled; the information button;
// the drive list named after the prompt.
int DescribeAccessibility() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const SystemLibrary oleacc(L"oleacc.dll");
  HWND parent = MakeWindow(L"KQProbeControls", CountClicks, 400, 140);
  const auto child = [parent](const wchar_t* windowClass, const wchar_t* text) {
    return CreateWindowExW(0, windowClass, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 297, 33,
                           parent, nullptr, nullptr, nullptr);
  };
  FlatComboBoxWin list;
  list.Create(parent, kDeviceBox, {128, 8, 345, 29});
  list.NameAfter(child(L"STATIC", L"Выберите USB-Flash:"));
  HWND save = child(HotButtonClassName(), L"Записать прошивку на USB-Flash");
  HWND info = child(ImageButtonClass(), L"");
  SetImageButtonHint(info, "Изменения в ПО\r(Adobe Reader)");
  ShowWindow(parent, SW_SHOW);
  SetForegroundWindow(parent);
  SetFocus(save);
  DescribeAccessible(oleacc, save, "savebutton");
  SetHotButtonEnabled(save, false);
  DescribeAccessible(oleacc, save, "savebutton.disabled");
  DescribeAccessible(oleacc, info, "infobutton");
  DescribeAccessible(oleacc, list.Handle(), "devicebox");
  DestroyWindow(parent);
  CoUninitialize();
  return 0;
}

// A text of several lines on one line of the answer: line breaks and backslashes escaped.
std::string Escaped(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '\\' || c == '\r' || c == '\n') escaped += '\\';
    escaped += c == '\r' ? 'r' : c == '\n' ? 'n' : c;
  }
  return escaped;
}

BOOL CALLBACK DescribeBox(HWND window, LPARAM count) {
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  if (std::wstring(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  const std::string n = "box" + std::to_string((*reinterpret_cast<int*>(count))++);
  Say(n + ".caption", Text(window));
  wchar_t text[1024] = {};
  GetDlgItemTextW(window, 0xFFFF, text, 1024);
  Say(n + ".text", Escaped(Narrow(text)));
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

// The running colour scheme, by system colour index, as the widgets resolve it.
// Presses the form's first control of a window class the way another program would: posted,
// since the click may open a modal box.
int Press(const std::wstring& windowClass) {
  HWND form = Form();
  HWND control = form ? FindWindowExW(form, nullptr, windowClass.c_str(), nullptr) : nullptr;
  Say("pressed", control && PostMessageW(control, BM_CLICK, 0, 0) ? "1" : "0");
  return control ? 0 : 1;
}

// Plugs a drive in or pulls it out as the system would: the letter comes or goes, then the
// announcement goes out to every window. A drive plugged in while the tool runs is waited for in
// its list, up to 2 s; what the list holds then is said, and how long it took.
int DefineDrive(wchar_t letter, const std::string& unixPath) {
  const Stopwatch watch;
  const bool defined = DefineWineDrive(letter, DRIVE_REMOVABLE, unixPath);
  if (defined) AnnounceVolume(letter, !unixPath.empty());
  Say("defined", defined ? "1" : "0");
  if (HWND form = Form()) {
    const std::string root = {static_cast<char>(letter), ':', '\\'};
    if (defined && !unixPath.empty() && Await(2000, [&] { return Lists(form, root); }))
      SayMs("listed_ms", watch.Ms());
    Say("devicebox.items", ListedDrives(form));
  }
  return defined ? 0 : 3;
}

// Asks the tool's window one message after another for the given time, each of which any window
// answers at once, and waits up to timeoutMs for each answer: the longest wait is the longest the
// window left its messages alone.
int WatchAnswers(int milliseconds, UINT timeoutMs) {
  HWND form = Form();
  if (!form) return 1;
  const Stopwatch watch;
  double longest = 0;
  bool answeredAll = true;
  while (watch.Ms() < milliseconds) {
    const Answer answer = Ask(form, WM_NULL, 0, 0, timeoutMs);
    answeredAll = answeredAll && answer.answered;
    longest = std::max(longest, answer.ms);
    Sleep(1);
  }
  Say("answered", answeredAll ? "1" : "0");
  SayMs("longest_unanswered_ms", longest);
  return 0;
}

// Starts the tool as Windows would and times the window being shown, then the drive listed.
int TimeStart(const std::wstring& exe, const std::string& root) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  const std::wstring dir = exe.substr(0, exe.find_last_of(L'\\') + 1);
  // The tool gets nothing of the probe's output, neither as its own output nor as a handle it
  // inherits: whoever reads that output would wait for the tool's end.
  for (DWORD stream : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE})
    SetHandleInformation(GetStdHandle(stream), HANDLE_FLAG_INHERIT, 0);
  SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
  HANDLE nothing =
      CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, 0, &inheritable, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = startup.hStdOutput = startup.hStdError = nothing;
  PROCESS_INFORMATION process{};
  const Stopwatch watch;
  const BOOL started = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, dir.c_str(), &startup, &process);
  CloseHandle(nothing);
  if (!started) return 2;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  HWND form = Await(20000, ShownForm);
  if (!form) return 3;
  SayMs("shown_ms", watch.Ms());
  if (!Await(20000, [&] { return Lists(form, root); })) return 3;
  SayMs("listed_ms", watch.Ms());
  return 0;
}

// Times a drive's arrival, from the moment its letter is defined, to its entry in the list.
int TimeArrival(wchar_t letter, const std::string& unixPath, const std::string& root) {
  HWND form = Form();
  if (!form) return 1;
  const Stopwatch watch;
  if (!DefineWineDrive(letter, DRIVE_REMOVABLE, unixPath)) return 3;
  AnnounceVolume(letter, true);
  if (!Await(5000, [&] { return Lists(form, root); })) return 3;
  SayMs("listed_ms", watch.Ms());
  return 0;
}

void Click(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  INPUT press[2]{};
  press[0].type = press[1].type = INPUT_MOUSE;
  press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, press, sizeof(INPUT));
}

// Clicks the write button, times the click to the button's disabling (the run's handler has
// started) and to the first message box, then closes every box of the run with OK and names
// them. Told to watch the answers, it sends the window until the box one message after another
// that any window answers at once: the longest wait for an answer is the longest time the window
// left its messages alone.
int TimeWriteRun(bool watchAnswers) {
  HWND form = Form();
  if (!form) return 1;
  HWND button = GetDlgItem(form, kSaveButton);
  const Stopwatch watch;
  Click(button);
  double longest = 0;
  double disabledMs = 0;
  HWND box = nullptr;
  while (!(box = ShownBox()) && watch.Ms() < 120000) {
    if (!disabledMs && !IsWindowEnabled(button)) disabledMs = watch.Ms();
    if (watchAnswers) longest = std::max(longest, Ask(form, WM_NULL, 0, 0, 120000).ms);
    Sleep(1);
  }
  if (!box) return 3;
  SayMs("box_ms", watch.Ms());
  SayMs("disabled_ms", disabledMs);
  char clicked[32];
  snprintf(clicked, sizeof(clicked), "%.6f", watch.StartSeconds());
  Say("clicked_s", clicked);
  if (watchAnswers) SayMs("longest_unanswered_ms", longest);
  std::string captions;
  for (; box; box = Await(1000, ShownBox)) {
    if (!captions.empty()) captions += '|';
    captions += Text(box);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    Await(5000, [&] { return !IsWindow(box); });
  }
  Say("boxes", captions);
  return 0;
}

// Picks the system menu's check of the stick, as posted by another program, times it to the box
// that closes it, names that box and closes it.
int TimeCheck() {
  HWND form = Form();
  if (!form) return 1;
  const Stopwatch watch;
  PostMessageW(form, WM_SYSCOMMAND, kCheckStickCommand, 0);
  HWND box = Await(120000, ShownBox);
  if (!box) return 3;
  SayMs("box_ms", watch.Ms());
  Say("box", Text(box));
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
  Await(5000, [&] { return !IsWindow(box); });
  return 0;
}

// Reads a value of the tool's memory at an address of up to 64 bits (all below 4 GB for a 32-bit
// tool).
template <typename Value>
bool ReadFrom(HANDLE process, std::uint64_t address, Value& value) {
  return address && ReadProcessMemory(process, reinterpret_cast<void*>(address), &value,
                                      sizeof(value), nullptr);
}

// Where Wine keeps the tool's GDI handle table: its address stands in the process environment
// block, at 0xF8 of a 64-bit one. A 32-bit process under WOW64 has it only in its 64-bit block,
// which Wine's own gdi32 finds as this does: the 32-bit thread block's GdiBatchCount (0xF70)
// holds the 64-bit thread block's address, whose Peb (0x60) is that of the 64-bit process block.
std::uint64_t GdiTableAddress(HANDLE process, DWORD threadId) {
  constexpr std::uint64_t kPebGdiTableOffset = 0xF8;
  std::uint64_t table = 0;
#ifdef _WIN64
  (void)threadId;
  PROCESS_BASIC_INFORMATION basic{};
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr))
    return 0;
  const auto peb = reinterpret_cast<std::uint64_t>(basic.PebBaseAddress);
#else
  struct {
    LONG exitStatus;
    void* teb;
    std::uintptr_t rest[5];
  } basic{};
  HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, threadId);
  if (!thread) return 0;
  const bool asked =
      NtQueryInformationThread(thread, ThreadBasicInformation, &basic, sizeof(basic), nullptr) == 0;
  CloseHandle(thread);
  constexpr std::uint64_t kTebWow64TebOffset = 0xF70, kTeb64PebOffset = 0x60;
  std::uint32_t teb64 = 0;
  std::uint64_t peb = 0;
  if (!asked ||
      !ReadFrom(process, reinterpret_cast<std::uintptr_t>(basic.teb) + kTebWow64TebOffset, teb64) ||
      !ReadFrom(process, teb64 + kTeb64PebOffset, peb))
    return 0;
#endif
  return ReadFrom(process, peb + kPebGdiTableOffset, table) ? table : 0;
}

// The GDI objects the tool holds. Wine answers GetGuiResources with 0, but keeps each
// process's GDI handles in a table of its own, laid out alike for 32-bit and 64-bit processes;
// counting its entries in use gives the same figure from outside.
int CountGdiObjects() {
  HWND form = Form();
  if (!form) return 1;
  DWORD pid = 0;
  const DWORD threadId = GetWindowThreadProcessId(form, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return 2;
  Say("gdi.guiresources", std::to_string(GetGuiResources(process, GR_GDIOBJECTS)));
  struct HandleEntry {
    std::uint64_t object;
    std::uint16_t processId, lock, instance;
    std::uint8_t type, flags;
    std::uint64_t userPointer;
  };
  constexpr std::size_t kHandleTableSize = 0x10000;
  std::vector<HandleEntry> entries(kHandleTableSize);
  const std::uint64_t table = GdiTableAddress(process, threadId);
  const bool read =
      table && ReadProcessMemory(process, reinterpret_cast<void*>(table), entries.data(),
                                 entries.size() * sizeof(HandleEntry), nullptr);
  CloseHandle(process);
  if (!read) return 2;
  int inUse = 0;
  for (const HandleEntry& entry : entries) {
    // On Windows the table is one for the whole session: count only the tool's own entries.
    if (entry.type && (entry.processId == 0 || entry.processId == pid)) ++inUse;
  }
  Say("gdi.table", std::to_string(inUse));
  return 0;
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

// Holds a file open without sharing, as a viewer that keeps its document locked. During a run,
// it holds it sharing everything, as a virus scanner looking at a stick that has just arrived,
// clicks the write button, and says whether the run's box showed while the file was held.
int Hold(const std::wstring& path, int milliseconds, bool duringRun) {
  const DWORD sharing = duringRun ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE : 0;
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
  Say("holding", file != INVALID_HANDLE_VALUE ? "1" : "0");
  if (file == INVALID_HANDLE_VALUE) return 2;
  if (duringRun) Click(GetDlgItem(Form(), kSaveButton));
  Sleep(milliseconds);
  if (duringRun) Say("box_while_held", ShownBox() ? "1" : "0");
  CloseHandle(file);
  return 0;
}

// Says a file's attributes, as the system's hexadecimal flags, after setting them when told to.
int Attributes(const std::wstring& path, const wchar_t* set) {
  if (set && !SetFileAttributesW(path.c_str(), wcstoul(set, nullptr, 16))) return 2;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return 2;
  char hex[16];
  snprintf(hex, sizeof(hex), "%lx", attributes);
  Say("attributes", hex);
  return 0;
}

// Loads libraries by name with the search every program gets by default: its own folder first.
int Load(int count, wchar_t** names) {
  for (int i = 0; i < count; ++i)
    Say("loaded." + Narrow(names[i]), LoadLibraryW(names[i]) ? "1" : "0");
  return 0;
}

// Tells the tool's window, as the system does when it moves to a monitor of another DPI, that its
// DPI went from one value to another: the new DPI in wParam and, in lParam, the window rectangle
// the system suggests: the same top-left corner, the client area scaled and the frame as it is
// (Wine draws one frame at every DPI). The rectangle is written into the tool's own memory, since
// the message carries only its address.
int ChangeDpi(int from, int to) {
  HWND form = Form();
  if (!form || from <= 0 || to <= 0) return 1;
  RECT suggested, client;
  GetWindowRect(form, &suggested);
  GetClientRect(form, &client);
  suggested.right += MulDiv(client.right, to, from) - client.right;
  suggested.bottom += MulDiv(client.bottom, to, from) - client.bottom;
  DWORD pid = 0;
  GetWindowThreadProcessId(form, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return 2;
  void* remote =
      VirtualAllocEx(process, nullptr, sizeof(suggested), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  DWORD_PTR answer = 0;
  const bool sent =
      remote && WriteProcessMemory(process, remote, &suggested, sizeof(suggested), nullptr) &&
      SendMessageTimeoutW(form, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(remote),
                          SMTO_ABORTIFHUNG, 10000, &answer);
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  Say("sent", sent ? "1" : "0");
  return sent ? 0 : 2;
}

// Asks the tool's window what any window answers at once, as the system does to tell whether
// a program still responds.
int Ping() {
  HWND form = Form();
  if (!form) return 1;
  const Answer answer = Ask(form, WM_NULL, 0, 0, 20000);
  Say("answered", answer.answered ? "1" : "0");
  SayMs("answer_ms", answer.ms);
  return 0;
}

// Asks the tool, as the system does before a log-off, whether the session may end.
int QueryEndSession() {
  HWND form = Form();
  if (!form) return 1;
  const Answer answer = Ask(form, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, 20000);
  Say("answered", answer.answered ? "1" : "0");
  Say("allowed", answer.result ? "1" : "0");
  return 0;
}

// Picks an item of the tool's system menu as a program may: posted, whether or not the item is
// greyed, since what it starts may open a modal box.
int PickSystemCommand(unsigned command) {
  HWND form = Form();
  Say("posted", form && PostMessageW(form, WM_SYSCOMMAND, command, 0) ? "1" : "0");
  return form ? 0 : 1;
}

// Asks the tool to close, as the system does at log-off or a plain taskkill.
int Close() {
  HWND form = Form();
  Say("posted", form && PostMessageW(form, WM_CLOSE, 0, 0) ? "1" : "0");
  return 0;
}

// Takes the activation from the tool with a window of its own, as switching to another program
// does; holds it for a while, says what the tool's thread then has, and closes the window.
int GoAway(int milliseconds) {
  HWND window = MakeWindow(L"KQProbeWindow", DefWindowProcW, 200, 100);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  const DWORD until = GetTickCount() + milliseconds;
  while (GetTickCount() < until) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
  Say("foreground", GetForegroundWindow() == window ? "probe" : "other");
  if (HWND form = Form()) DescribeFocus(form);
  DestroyWindow(window);
  return 0;
}

int Run(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"form") return DescribeForm();
  if (command == L"boxes") return DescribeBoxes();
  if (command == L"hint") return DescribeHint();
  if (command == L"scheme") return DescribeScheme();
  if (command == L"accessibility") return DescribeAccessibility();
  if (command == L"press" && argc == 3) return Press(argv[2]);
  if (command == L"acp") {
    Say("acp", std::to_string(GetACP()));
    return 0;
  }
  if (command == L"close") return Close();
  if (command == L"command" && argc == 3) return PickSystemCommand(wcstoul(argv[2], nullptr, 0));
  if (command == L"load") return Load(argc - 2, argv + 2);
  if (command == L"attributes" && (argc == 3 || argc == 4))
    return Attributes(argv[2], argc == 4 ? argv[3] : nullptr);
  if (command == L"dpi-changed" && argc == 4) return ChangeDpi(_wtoi(argv[2]), _wtoi(argv[3]));
  if (command == L"ping") return Ping();
  if (command == L"watch-answers" && argc == 4) return WatchAnswers(_wtoi(argv[2]), _wtoi(argv[3]));
  if (command == L"end-session") return QueryEndSession();
  if (command == L"away" && argc == 3) return GoAway(_wtoi(argv[2]));
  if (command == L"record" && argc == 4) return Record(argv[2], argv[3]);
  if (command == L"hold" && argc == 4) return Hold(argv[2], _wtoi(argv[3]) * 1000, false);
  if (command == L"hold-during-run" && argc == 4) return Hold(argv[2], _wtoi(argv[3]), true);
  if (command == L"plug" && argc == 4) return DefineDrive(argv[2][0], Narrow(argv[3]));
  if (command == L"unplug" && argc == 3) return DefineDrive(argv[2][0], "");
  if (command == L"time-start" && argc == 4) return TimeStart(argv[2], Narrow(argv[3]));
  if (command == L"time-arrival" && argc == 5)
    return TimeArrival(argv[2][0], Narrow(argv[3]), Narrow(argv[4]));
  if (command == L"time-run") return TimeWriteRun(argc == 3 && argv[2] == std::wstring(L"answers"));
  if (command == L"time-check") return TimeCheck();
  if (command == L"gdi") return CountGdiObjects();
  Say("usage",
      "form | boxes | scheme | hint | acp | close | command ID | ping | watch-answers MILLISECONDS "
      "TIMEOUT | "
      "end-session | "
      "load LIBRARY... | "
      "attributes PATH [HEX] | "
      "accessibility | "
      "dpi-changed FROM TO | away MILLISECONDS | press CLASS | "
      "plug LETTER UNIXPATH | unplug LETTER | record LOG DOCUMENT | hold PATH SECONDS | "
      "hold-during-run PATH MILLISECONDS | "
      "time-start EXE ROOT | time-arrival LETTER UNIXPATH ROOT | time-run [answers] | "
      "time-check | gdi | serve");
  return 64;
}

// One line of standard input without its line end; false at the input's end.
bool ReadLine(std::string& line) {
  line.clear();
  char c;
  DWORD got = 0;
  while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &c, 1, &got, nullptr) && got == 1) {
    if (c == '\n') return true;
    if (c != '\r') line += c;
  }
  return !line.empty();
}

// Answers one command a line, its arguments separated by tabs, each answer ended by a line ".",
// until the input ends: the tests ask their many quick questions of one process rather than
// start a new one each time, which costs Wine a tenth of a second.
int Serve() {
  std::string line;
  while (ReadLine(line)) {
    std::vector<std::wstring> arguments = {L"probe"};
    for (std::size_t start = 0; start <= line.size();) {
      const std::size_t end = std::min(line.find('\t', start), line.size());
      arguments.push_back(Widen(line.substr(start, end - start)));
      start = end + 1;
    }
    std::vector<wchar_t*> argv;
    for (std::wstring& argument : arguments) argv.push_back(argument.data());
    Run(static_cast<int>(argv.size()), argv.data());
    const char end[] = ".\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), end, 2, &written, nullptr);
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && argv[1] == std::wstring(L"serve")) return Serve();
  return Run(argc, argv);
}
