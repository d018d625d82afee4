#include <windows.h>

#include <gtest/gtest.h>
#include <ocidl.h>
#include <oleacc.h>

#include <string>

#include "base/system_library_win.h"
#include "widgets/accessible_win.h"

namespace {

int clicks = 0;

LRESULT CALLBACK Button(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETOBJECT && AsksForClientObject(lParam))
    return AnswerClientObject(window, wParam, [] { return PushButtonFacts("Записать", {}); });
  if (message == BM_CLICK) ++clicks;
  return DefWindowProcW(window, message, wParam, lParam);
}

template <typename Interface>
Interface* Query(IUnknown* object, REFIID iid = __uuidof(Interface)) {
  void* found = nullptr;
  if (object->QueryInterface(iid, &found) != S_OK) return nullptr;
  static_cast<IUnknown*>(found)->Release();  // the test's objects outlive these references
  return static_cast<Interface*>(found);
}

// The object a reader in the process gets for a window that answers as the tool's buttons do,
// whose own text is not the name, beside the standard object for the same window.
TEST(AccessibleAdapter, AnswersEveryInterfaceAndEveryFormOfTheChildItself) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Button;
  windowClass.lpszClassName = L"KQAccessibleAdapterTest";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"other", WS_POPUP, 0, 0, 100, 30,
                                nullptr, nullptr, nullptr, nullptr);
  const SystemLibrary oleacc(L"oleacc.dll");
  IAccessible *object = nullptr, *standard = nullptr;
  ASSERT_EQ(SYSTEM_FUNCTION(oleacc, AccessibleObjectFromWindow)(
                window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&object)),
            S_OK);
  ASSERT_EQ(SYSTEM_FUNCTION(oleacc, CreateStdAccessibleObject)(
                window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard)),
            S_OK);

  // Either refused, or an interface of the same object: the same IUnknown, whatever the path.
  int standardAnswers = 0;
  for (REFIID iid :
       {IID_IUnknown, IID_IDispatch, __uuidof(IAccessible), __uuidof(IEnumVARIANT),
        __uuidof(IOleWindow), __uuidof(IServiceProvider), __uuidof(IProvideClassInfo)}) {
    standardAnswers += Query<IUnknown>(standard, iid) != nullptr;
    if (IUnknown* answer = Query<IUnknown>(object, iid)) {
      EXPECT_EQ(Query<IUnknown>(answer, IID_IUnknown), Query<IUnknown>(object, IID_IUnknown));
    }
  }
  EXPECT_GT(standardAnswers, 3);
  HWND told = nullptr;
  ASSERT_TRUE(Query<IOleWindow>(object));
  Query<IOleWindow>(object)->GetWindow(&told);
  EXPECT_EQ(told, window);

  UINT infoCount = 0;
  object->GetTypeInfoCount(&infoCount);
  EXPECT_EQ(infoCount, 1u);
  VARIANT self{}, empty{}, missing{}, result{};
  self.vt = VT_I4;
  missing.vt = VT_ERROR;
  missing.scode = DISP_E_PARAMNOTFOUND;
  for (const VARIANT& child : {self, empty, missing}) {
    BSTR name = nullptr;
    object->get_accName(child, &name);
    EXPECT_EQ(std::wstring(name ? name : L""), L"Записать") << child.vt;
    SysFreeString(name);
    // Given, given empty, and left out of the call altogether.
    DISPPARAMS params{const_cast<VARIANT*>(&child), nullptr, child.vt == VT_ERROR ? 0u : 1u, 0};
    object->Invoke(DISPID_ACC_NAME, IID_NULL, 0, DISPATCH_PROPERTYGET, &params, &result, nullptr,
                   nullptr);
    EXPECT_EQ(std::wstring(result.vt == VT_BSTR ? result.bstrVal : L""), L"Записать") << child.vt;
    VariantClear(&result);
    // What it leaves to the standard object, the standard object answers for the control.
    long left = 0, top = 0, width = 0, height = 0;
    object->accLocation(&left, &top, &width, &height, child);
    EXPECT_EQ(width, 100) << child.vt;
  }

  // Posted: the click comes once messages are read.
  DISPPARAMS none{};
  EXPECT_EQ(object->Invoke(DISPID_ACC_DODEFAULTACTION, IID_NULL, 0, DISPATCH_METHOD, &none, &result,
                           nullptr, nullptr),
            S_OK);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  EXPECT_EQ(clicks, 1);
  standard->Release();
  object->Release();
  DestroyWindow(window);
  CoUninitialize();
}

}  // namespace
