#include "platform/win32/automation.h"

#include <windows.h>

#include <oleauto.h>

#include "platform/win32/wide.h"

namespace zorvane::win32 {
namespace {

struct ComReleaser {
    void operator()(IUnknown* object) const noexcept { object->Release(); }
};
using UniqueDispatch = std::unique_ptr<IDispatch, ComReleaser>;

// One argument of a call; frees what it holds (a BSTR) when it goes.
class Argument {
  public:
    explicit Argument(std::string_view text) {
        value_.vt = VT_BSTR;
        value_.bstrVal = SysAllocString(widen(text).c_str());
    }
    explicit Argument(bool flag) {
        value_.vt = VT_BOOL;
        value_.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
    }
    ~Argument() { VariantClear(&value_); }
    Argument(const Argument&) = delete;
    Argument& operator=(const Argument&) = delete;
    VARIANT* get() { return &value_; }

  private:
    VARIANT value_{};
};

// Calls the method, or sets the property, `name` with one argument. A failure is ignored: the
// caller goes on with its next step either way.
void invoke(IDispatch& object, const wchar_t* name, WORD kind, Argument argument) {
    // The call only reads the names.
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-const-cast)
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID member = 0;
    if (FAILED(object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member))) return;
    DISPID propertyPut = DISPID_PROPERTYPUT;
    const bool put = kind == DISPATCH_PROPERTYPUT;
    DISPPARAMS parameters{argument.get(), put ? &propertyPut : nullptr, 1, put ? 1u : 0u};
    EXCEPINFO exception{};
    if (object.Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, nullptr, &exception,
                      nullptr) == DISP_E_EXCEPTION) {
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
    }
}

class InternetExplorer final : public Browser {
  public:
    explicit InternetExplorer(UniqueDispatch object) : object_(std::move(object)) {}
    void navigate(std::string_view url) override {
        invoke(*object_, L"Navigate", DISPATCH_METHOD, Argument(url));
    }
    void setVisible(bool visible) override {
        invoke(*object_, L"Visible", DISPATCH_PROPERTYPUT, Argument(visible));
    }

  private:
    UniqueDispatch object_;  // released when this goes; the browser window stays open
};

bool notRegistered(HRESULT result) {
    return result == CO_E_CLASSSTRING || result == REGDB_E_CLASSNOTREG;
}

}  // namespace

std::expected<std::unique_ptr<Browser>, NoBrowser> createInternetExplorer() {
    CLSID id{};
    HRESULT result = CLSIDFromProgID(L"InternetExplorer.Application", &id);
    IDispatch* object = nullptr;
    if (SUCCEEDED(result)) {
        result = CoCreateInstance(id, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                  reinterpret_cast<void**>(&object));
    }
    if (FAILED(result) || !object) {
        return std::unexpected(notRegistered(result) ? NoBrowser::NotRegistered
                                                     : NoBrowser::CannotStart);
    }
    return std::make_unique<InternetExplorer>(UniqueDispatch(object));
}

}  // namespace zorvane::win32
