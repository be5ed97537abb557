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

// The browser object lives on the apartment's thread, and each call on it goes there in turn:
// starting a browser takes seconds, and COM's wait for it would run none of our timers.
class InternetExplorer final : public Browser {
  public:
    InternetExplorer(ApartmentThread& thread, CLSID id) : thread_(thread) {
        thread_.post([object = object_, id] {
            IDispatch* made = nullptr;
            if (SUCCEEDED(CoCreateInstance(id, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                           reinterpret_cast<void**>(&made))))
                object->reset(made);
        });
    }
    // Released there too; the browser window stays open.
    ~InternetExplorer() override {
        thread_.post([object = object_] { object->reset(); });
    }
    InternetExplorer(const InternetExplorer&) = delete;
    InternetExplorer& operator=(const InternetExplorer&) = delete;

    void navigate(std::string_view url) override {
        thread_.post([object = object_, url = std::string(url)] {
            if (*object) invoke(**object, L"Navigate", DISPATCH_METHOD, Argument(url));
        });
    }
    void setVisible(bool visible) override {
        thread_.post([object = object_, visible] {
            if (*object) invoke(**object, L"Visible", DISPATCH_PROPERTYPUT, Argument(visible));
        });
    }

  private:
    ApartmentThread& thread_;
    // None when the browser failed to start: then each call is skipped.
    std::shared_ptr<UniqueDispatch> object_ = std::make_shared<UniqueDispatch>();
};

}  // namespace

std::expected<std::unique_ptr<Browser>, NoBrowser> createInternetExplorer(ApartmentThread& thread) {
    CLSID id{};
    const HRESULT result = CLSIDFromProgID(L"InternetExplorer.Application", &id);
    if (FAILED(result)) {
        const bool notRegistered = result == CO_E_CLASSSTRING || result == REGDB_E_CLASSNOTREG;
        return std::unexpected(notRegistered ? NoBrowser::NotRegistered : NoBrowser::CannotStart);
    }
    return std::make_unique<InternetExplorer>(thread, id);
}

}  // namespace zorvane::win32
