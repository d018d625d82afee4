#include "widgets/accessible_win.h"

#include <oleacc.h>

#include <string>
#include <utility>

#include "base/failure.h"
#include "base/system_library_win.h"
#include "base/text_win.h"

static_assert(kRolePushButton == ROLE_SYSTEM_PUSHBUTTON);
static_assert(kStateUnavailable == STATE_SYSTEM_UNAVAILABLE &&
              kStateFocused == STATE_SYSTEM_FOCUSED && kStatePressed == STATE_SYSTEM_PRESSED &&
              kStateHotTracked == STATE_SYSTEM_HOTTRACKED &&
              kStateFocusable == STATE_SYSTEM_FOCUSABLE);

namespace {

struct Oleacc {
  decltype(&::CreateStdAccessibleObject) CreateStdAccessibleObject;
  decltype(&::LresultFromObject) LresultFromObject;
};

// Loaded when a reader first asks, so a machine without one never loads it.
const Oleacc& OleaccLibrary() {
  static const Oleacc functions = [] {
    const SystemLibrary library(L"oleacc.dll");
    return Oleacc{SYSTEM_FUNCTION(library, CreateStdAccessibleObject),
                  SYSTEM_FUNCTION(library, LresultFromObject)};
  }();
  return functions;
}

// A child argument left out, as a script or a reader going through IDispatch may do, means the
// control itself; it then arrives empty or as the error a missing optional argument stands for.
bool IsSelf(const VARIANT& child) {
  return (child.vt == VT_I4 && child.lVal == CHILDID_SELF) || child.vt == VT_EMPTY ||
         (child.vt == VT_ERROR && child.scode == DISP_E_PARAMNOTFOUND);
}

// The child argument as the standard object is sure to take it.
VARIANT Child(const VARIANT& child) {
  if (!IsSelf(child)) return child;
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

// The description of IAccessible that IDispatch calls go through, read once from the type
// library in the system's accessibility library, by full path: a file of that name elsewhere is
// never read. The interface part of the dual interface, whose members DispInvoke calls.
struct AccessibleTypeInfo {
  HRESULT loaded = E_FAIL;
  ITypeInfo* info = nullptr;
};

AccessibleTypeInfo LoadAccessibleTypeInfo() {
  AccessibleTypeInfo result;
  const std::wstring path = SystemFilePath(L"oleacc.dll");
  ITypeLib* library = nullptr;
  result.loaded = path.empty() ? E_FAIL : LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library);
  if (FAILED(result.loaded)) return result;
  ITypeInfo* info = nullptr;
  result.loaded = library->GetTypeInfoOfGuid(__uuidof(IAccessible), &info);
  library->Release();
  if (FAILED(result.loaded)) return result;
  HREFTYPE vtable = 0;
  if (SUCCEEDED(info->GetRefTypeOfImplType(-1, &vtable)) &&
      SUCCEEDED(info->GetRefTypeInfo(vtable, &result.info))) {
    info->Release();
  } else {
    result.info = info;
  }
  return result;
}

// Kept for the life of the process, as the library it comes from is.
const AccessibleTypeInfo& AccessibleType() {
  static const AccessibleTypeInfo type = LoadAccessibleTypeInfo();
  return type;
}

HRESULT Text(std::string text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = SysAllocString(Widen(text).c_str());
  return *out ? S_OK : E_OUTOFMEMORY;
}

template <typename Value>
HRESULT Number(Value value, VARIANT* out) {
  if (!out) return E_POINTER;
  VariantInit(out);
  out->vt = VT_I4;
  out->lVal = static_cast<LONG>(value);
  return S_OK;
}

// The system's standard object for a window, answering what the control's facts set in its
// place; every other question, and every question about a child, is the standard object's.
// Whatever is asked of it, through any of its interfaces, it answers itself: a reader never
// reaches the standard object without the control's facts, and every interface it hands out
// leads back to the same object.
class ControlAccessible final : public IAccessible, public IOleWindow {
 public:
  ControlAccessible(HWND window, IAccessible* standard, std::function<AccessibleFacts()> facts)
      : window_(window), standard_(standard), facts_(std::move(facts)) {}
  ControlAccessible(const ControlAccessible&) = delete;
  ControlAccessible& operator=(const ControlAccessible&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
    } else if (iid == IID_IOleWindow) {
      *out = static_cast<IOleWindow*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = window_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // Calls through IDispatch reach this object's own members.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    const AccessibleTypeInfo& type = AccessibleType();
    if (FAILED(type.loaded)) return type.loaded;
    type.info->AddRef();
    *info = type.info;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    const AccessibleTypeInfo& type = AccessibleType();
    return FAILED(type.loaded) ? type.loaded : DispGetIDsOfNames(type.info, names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    const AccessibleTypeInfo& type = AccessibleType();
    if (FAILED(type.loaded)) return type.loaded;
    return DispInvoke(static_cast<IAccessible*>(this), type.info, id, flags, params, result,
                      exception, argumentError);
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return Answer(child, &AccessibleFacts::name, Text, &IAccessible::get_accName, name);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return Answer(child, &AccessibleFacts::role, Number<long>, &IAccessible::get_accRole, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return Answer(child, &AccessibleFacts::states, Number<unsigned>, &IAccessible::get_accState,
                  state);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return Answer(child, &AccessibleFacts::defaultAction, Text, &IAccessible::get_accDefaultAction,
                  action);
  }
  // Posted, not sent: the click may open a box, which would hold the reader until it closed.
  // It comes through where a mouse click could, so not while a box is up over the window.
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (!IsSelf(child) || !facts_().defaultAction)
      return standard_->accDoDefaultAction(Child(child));
    if (!IsWindowEnabled(window_) || !IsWindowEnabled(GetAncestor(window_, GA_ROOT))) return E_FAIL;
    return PostMessageW(window_, BM_CLICK, 0, 0) ? S_OK : HRESULT_FROM_WIN32(GetLastError());
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    return standard_->get_accChild(Child(child), out);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(Child(child), value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return standard_->get_accDescription(Child(child), description);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(Child(child), help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return standard_->get_accHelpTopic(file, Child(child), topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return standard_->get_accKeyboardShortcut(Child(child), shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    return standard_->get_accFocus(focus);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    return standard_->get_accSelection(selection);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return standard_->accSelect(flags, Child(child));
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, Child(child));
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, Child(start), end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(Child(child), name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(Child(child), value);
  }

 private:
  ~ControlAccessible() { standard_->Release(); }

  // The control's fact where it has one for itself, else the standard object's answer.
  template <typename Fact, typename Out>
  HRESULT Answer(const VARIANT& child, std::optional<Fact> AccessibleFacts::*fact,
                 HRESULT (*write)(Fact, Out*),
                 HRESULT (STDMETHODCALLTYPE IAccessible::*standard)(VARIANT, Out*), Out* out) {
    if (IsSelf(child))
      if (const AccessibleFacts facts = facts_(); facts.*fact) return write(*(facts.*fact), out);
    return (standard_->*standard)(Child(child), out);
  }

  HWND window_;
  IAccessible* standard_;
  std::function<AccessibleFacts()> facts_;
  LONG references_ = 1;
};

}  // namespace

bool AsksForClientObject(LPARAM lParam) {
  return static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT);
}

LRESULT AnswerClientObject(HWND window, WPARAM wParam, std::function<AccessibleFacts()> facts) {
  try {
    const Oleacc& oleacc = OleaccLibrary();
    IAccessible* standard = nullptr;
    if (FAILED(oleacc.CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                                reinterpret_cast<void**>(&standard))))
      return 0;
    auto* accessible = new ControlAccessible(window, standard, std::move(facts));
    const LRESULT answer = oleacc.LresultFromObject(__uuidof(IAccessible), wParam,
                                                    static_cast<IAccessible*>(accessible));
    accessible->Release();
    return answer;
  } catch (const Failure&) {
    return 0;
  }
}

void StateAnnouncer::Show(HWND window, ButtonFlags flags) {
  if (AnnouncesStateChange(shown_, flags))
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
  shown_ = flags;
}
