#include "win32/accessibility.h"

#include "win32/text.h"

// The accessibility annotations' ids are defined here: mingw's import libraries lack some.
#include <initguid.h>
#include <oleacc.h>

namespace win32 {

ScreenReaderNames::ScreenReaderNames() = default;
ScreenReaderNames::~ScreenReaderNames() = default;

HRESULT ScreenReaderNames::annotate(const ControlTable &controls, HWND tabs)
{
    HRESULT result = CoCreateInstance(
        CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices, m_services.putVoid());
    if (FAILED(result))
        return result;
    const auto name = [&](HWND hwnd, DWORD child, const std::string &spoken) {
        const std::wstring text = wide(spoken);
        const HRESULT named = m_services->SetHwndPropStr(hwnd,
            static_cast<DWORD>(OBJID_CLIENT),
            child,
            PROPID_ACC_NAME,
            const_cast<wchar_t *>(text.c_str()));
        if (FAILED(named) && SUCCEEDED(result))
            result = named;
    };
    for (const Control &control : controls.all())
        if (const std::string spoken = form::spokenName(*control.row); !spoken.empty())
            name(control.hwnd, CHILDID_SELF, spoken);
    for (std::size_t tab = 0; tab < form::stepNames().size(); ++tab)
        name(tabs, static_cast<DWORD>(tab + 1), std::string(form::stepNames()[tab]));
    return result;
}

} // namespace win32
