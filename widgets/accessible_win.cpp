#include "widgets/accessible_win.h"

#include <oleacc.h>

#include <string>
#include <utility>

#include "app/failure.h"
#include "app/system_library_win.h"
#include "app/text_win.h"

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

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

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
class ControlAccessible final : public IAccessible {
 public:
  ControlAccessible(HWND window, IAccessible* standard, std::function<AccessibleFacts()> facts)
      : window_(window), standard_(standard), facts_(std::move(facts)) {}
  ControlAccessible(const ControlAccessible&) = delete;
  ControlAccessible& operator=(const ControlAccessible&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    // Its window and its children's enumeration are the standard object's.
    return standard_->QueryInterface(iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override {
    return standard_->Invoke(id, iid, locale, flags, params, result, exception, argumentError);
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
    if (!IsSelf(child) || !facts_().defaultAction) return standard_->accDoDefaultAction(child);
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
    return standard_->get_accChild(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return standard_->get_accDescription(child, description);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return standard_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    return standard_->get_accFocus(focus);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    return standard_->get_accSelection(selection);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
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
    return (standard_->*standard)(child, out);
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
    const LRESULT answer = oleacc.LresultFromObject(__uuidof(IAccessible), wParam, accessible);
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
