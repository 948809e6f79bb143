#include "win32/accessibility.h"

#include "win32/text.h"

// The accessibility annotations' ids are defined here: mingw's import libraries lack some.
#include <initguid.h>
#include <oleacc.h>

namespace win32 {

ScreenReaderNames::ScreenReaderNames() = default;
ScreenReaderNames::~ScreenReaderNames() = default;

HRESULT ScreenReaderNames::name(HWND hwnd, std::string_view spoken, DWORD child)
{
    if (!m_services
        && FAILED(CoCreateInstance(CLSID_AccPropServices,
            nullptr,
            CLSCTX_INPROC_SERVER,
            IID_IAccPropServices,
            m_services.putVoid())))
        return E_NOINTERFACE;
    const std::wstring text = wide(spoken);
    return m_services->SetHwndPropStr(
        hwnd, static_cast<DWORD>(OBJID_CLIENT), child, PROPID_ACC_NAME, const_cast<wchar_t *>(text.c_str()));
}

HRESULT ScreenReaderNames::annotate(const ControlTable &controls, HWND tabs)
{
    HRESULT result = S_OK;
    const auto keep = [&result](HRESULT named) {
        if (FAILED(named) && SUCCEEDED(result))
            result = named;
    };
    for (const Control &control : controls.all())
        if (const std::string spoken = form::spokenName(*control.row); !spoken.empty())
            keep(name(control.hwnd, spoken));
    for (std::size_t tab = 0; tab < form::stepNames().size(); ++tab)
        keep(name(tabs, form::stepNames()[tab], static_cast<DWORD>(tab + 1)));
    return result;
}

} // namespace win32
