#include <windows.h>

#include <gtest/gtest.h>
#include <ocidl.h>
#include <oleacc.h>
#include <uiautomationcore.h>

#include <string>
#include <utility>
#include <vector>

#include "app/system_library_win.h"
#include "widgets/accessible_win.h"

namespace {

constexpr wchar_t kClass[] = L"KQAccessibleAdapterTest";
constexpr wchar_t kWindowText[] = L"the standard object's name";
constexpr char kName[] = "Записать прошивку на USB-Flash";
int clicks = 0;

LRESULT CALLBACK ButtonProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETOBJECT && AsksForClientObject(lParam))
    return AnswerClientObject(window, wParam, [] { return PushButtonFacts(kName, {}); });
  if (message == BM_CLICK) ++clicks;
  return DefWindowProcW(window, message, wParam, lParam);
}

// The object a reader in the process gets for a window answering as the tool's buttons do, and
// the system's standard object for the same window, which it stands in front of.
class AccessibleAdapter : public testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ButtonProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClass;
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, kClass, kWindowText, WS_POPUP, 0, 0, 100, 30, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
    ASSERT_TRUE(window_);
    const SystemLibrary oleacc(L"oleacc.dll");
    ASSERT_EQ(SYSTEM_FUNCTION(oleacc, AccessibleObjectFromWindow)(
                  window_, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                  reinterpret_cast<void**>(&object_)),
              S_OK);
    ASSERT_EQ(
        SYSTEM_FUNCTION(oleacc, CreateStdAccessibleObject)(
            window_, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard_)),
        S_OK);
  }
  void TearDown() override {
    if (standard_) standard_->Release();
    if (object_) object_->Release();
    DestroyWindow(window_);
    UnregisterClassW(kClass, GetModuleHandleW(nullptr));
    CoUninitialize();
  }

  IUnknown* Identity(IUnknown* object) {
    IUnknown* identity = nullptr;
    EXPECT_EQ(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    if (identity) identity->Release();
    return identity;
  }

  HRESULT Invoke(DISPID id, WORD flags, std::vector<VARIANT> arguments, VARIANT* result) {
    DISPPARAMS params{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
    return object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr,
                           nullptr);
  }

  HWND window_ = nullptr;
  IAccessible* object_ = nullptr;
  IAccessible* standard_ = nullptr;
};

// Whatever a reader asks it for leads back to the same object: it either refuses, or hands out
// an interface whose IUnknown is its own and which gives the object back.
TEST_F(AccessibleAdapter, EveryInterfaceItHandsOutIsItsOwn) {
  const IID asked[] = {IID_IUnknown,
                       IID_IDispatch,
                       __uuidof(IAccessible),
                       __uuidof(IEnumVARIANT),
                       __uuidof(IOleWindow),
                       __uuidof(IServiceProvider),
                       __uuidof(IProvideClassInfo),
                       __uuidof(IMarshal),
                       __uuidof(IAccessibleEx),
                       __uuidof(IRawElementProviderSimple)};
  IUnknown* const self = Identity(object_);
  int standardAnswers = 0;
  for (const IID& iid : asked) {
    IUnknown* fromStandard = nullptr;
    if (standard_->QueryInterface(iid, reinterpret_cast<void**>(&fromStandard)) == S_OK) {
      ++standardAnswers;
      fromStandard->Release();
    }
    IUnknown* answer = nullptr;
    const HRESULT result = object_->QueryInterface(iid, reinterpret_cast<void**>(&answer));
    const int index = static_cast<int>(&iid - asked);
    if (result == E_NOINTERFACE) {
      EXPECT_EQ(answer, nullptr) << index;
      continue;
    }
    ASSERT_EQ(result, S_OK) << index;
    EXPECT_EQ(Identity(answer), self) << index;
    IAccessible* back = nullptr;
    EXPECT_EQ(answer->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&back)), S_OK)
        << index;
    EXPECT_EQ(back, object_) << index;
    if (back) back->Release();
    answer->Release();
  }
  // The standard object answers more than the three the object itself implements.
  EXPECT_GT(standardAnswers, 3);
}

TEST_F(AccessibleAdapter, ItsWindowIsTheControls) {
  IOleWindow* oleWindow = nullptr;
  ASSERT_EQ(object_->QueryInterface(__uuidof(IOleWindow), reinterpret_cast<void**>(&oleWindow)),
            S_OK);
  HWND window = nullptr;
  EXPECT_EQ(oleWindow->GetWindow(&window), S_OK);
  EXPECT_EQ(window, window_);
  EXPECT_EQ(oleWindow->ContextSensitiveHelp(TRUE), E_NOTIMPL);
  oleWindow->Release();
}

// The control named, given as itself or left out, in each form a caller may leave it out in,
// asked directly and through IDispatch.
TEST_F(AccessibleAdapter, ChildGivenOrLeftOutIsTheControlDirectlyAndThroughDispatch) {
  UINT count = 0;
  EXPECT_EQ(object_->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  OLECHAR name[] = L"accName";
  LPOLESTR names[] = {name};
  DISPID id = 0;
  EXPECT_EQ(object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  EXPECT_EQ(id, DISPID_ACC_NAME);

  VARIANT self{}, empty{}, missing{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  missing.vt = VT_ERROR;
  missing.scode = DISP_E_PARAMNOTFOUND;
  const std::wstring expected = L"Записать прошивку на USB-Flash";
  for (const auto& [child, what] :
       {std::pair{self, "self"}, {empty, "empty"}, {missing, "missing"}}) {
    BSTR direct = nullptr;
    EXPECT_EQ(object_->get_accName(child, &direct), S_OK) << what;
    EXPECT_EQ(std::wstring(direct ? direct : L""), expected) << what;
    SysFreeString(direct);
    VARIANT role{};
    EXPECT_EQ(object_->get_accRole(child, &role), S_OK) << what;
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_PUSHBUTTON) << what;
  }
  for (const auto& arguments : {std::vector<VARIANT>{self}, std::vector<VARIANT>{}}) {
    VARIANT result{};
    EXPECT_EQ(Invoke(DISPID_ACC_NAME, DISPATCH_PROPERTYGET, arguments, &result), S_OK)
        << arguments.size();
    EXPECT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(result.vt == VT_BSTR ? result.bstrVal : L""), expected)
        << arguments.size();
    VariantClear(&result);
  }
  // What it does not answer itself, the standard object answers for the control.
  long left = 0, top = 0, width = 0, height = 0;
  EXPECT_EQ(object_->accLocation(&left, &top, &width, &height, missing), S_OK);
  EXPECT_EQ(std::pair(width, height), std::pair(100L, 30L));
}

// Clicked through IDispatch, without a child: posted, so the click comes once messages are read.
TEST_F(AccessibleAdapter, DefaultActionThroughDispatchClicks) {
  clicks = 0;
  VARIANT result{};
  EXPECT_EQ(Invoke(DISPID_ACC_DODEFAULTACTION, DISPATCH_METHOD, {}, &result), S_OK);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
