#include "platform/win32/dispatch_browser.h"

#include <utility>

#include "common/platform_error.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_error.h"

#include <ole2.h>
#include <oleauto.h>

#include "platform/win32/com_ptr.h"

namespace quorvel::win32 {
namespace {

// Owns one VARIANT (and so the BSTR it may hold).
class UniqueVariant {
 public:
  UniqueVariant() { ::VariantInit(&value_); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  ~UniqueVariant() { ::VariantClear(&value_); }
  VARIANT* Get() { return &value_; }

 private:
  VARIANT value_;
};

// Clears the strings an automation call may leave in its exception record.
struct ExceptionRecord {
  EXCEPINFO info{};
  ExceptionRecord() = default;
  ExceptionRecord(const ExceptionRecord&) = delete;
  ExceptionRecord& operator=(const ExceptionRecord&) = delete;
  ~ExceptionRecord() {
    ::SysFreeString(info.bstrSource);
    ::SysFreeString(info.bstrDescription);
    ::SysFreeString(info.bstrHelpFile);
  }
};

std::wstring Widen(const std::string& text) {
  if (text.empty()) {
    return {};
  }
  const int length =
      ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

void Check(HRESULT result, const std::string& operation) {
  if (FAILED(result)) {
    ThrowError(operation, static_cast<DWORD>(result));
  }
}

// Resolves `member` by name and invokes it with one argument, as a property put or a method call.
void InvokeByName(IDispatch& object, const std::string& memberText, WORD kind, VARIANT& argument) {
  std::wstring name = Widen(memberText);
  LPOLESTR names[] = {name.data()};
  DISPID id = 0;
  Check(object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id),
        "GetIDsOfNames " + memberText);
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS parameters{};
  parameters.rgvarg = &argument;
  parameters.cArgs = 1;
  if (kind == DISPATCH_PROPERTYPUT) {
    parameters.rgdispidNamedArgs = &putId;
    parameters.cNamedArgs = 1;
  }
  ExceptionRecord exception;
  UINT argumentError = 0;
  UniqueVariant result;
  Check(object.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters,
                      kind == DISPATCH_PROPERTYPUT ? nullptr : result.Get(), &exception.info,
                      &argumentError),
        "Invoke " + memberText);
}
}  // namespace

void DispatchBrowser::Navigate(const std::string& address) {
  ComSession com(COINIT_APARTMENTTHREADED);  // for this one call, not at start-up
  const std::wstring progId = Widen(progId_);
  CLSID classId{};
  Check(::CLSIDFromProgID(progId.c_str(), &classId), "CreateObject " + progId_);
  ComPtr<IDispatch> browser;
  Check(::CoCreateInstance(classId, nullptr, CLSCTX_SERVER, IID_IDispatch, browser.PutVoid()),
        "CreateObject " + progId_);

  UniqueVariant visible;
  visible.Get()->vt = VT_BOOL;
  visible.Get()->boolVal = VARIANT_TRUE;
  InvokeByName(*browser.Get(), "Visible", DISPATCH_PROPERTYPUT, *visible.Get());

  UniqueVariant url;
  const std::wstring wideAddress = Widen(address);
  url.Get()->vt = VT_BSTR;
  url.Get()->bstrVal =
      ::SysAllocStringLen(wideAddress.data(), static_cast<UINT>(wideAddress.size()));
  if (url.Get()->bstrVal == nullptr) {
    ThrowError("SysAllocString", ERROR_OUTOFMEMORY);
  }
  InvokeByName(*browser.Get(), "navigate", DISPATCH_METHOD, *url.Get());
}

}  // namespace quorvel::win32
