#include "win32/test_seams.h"

#include "win32/text.h"

#include <string>
#include <windows.h>

namespace win32 {

namespace {

std::optional<std::wstring> variable(const wchar_t *name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return std::nullopt;
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

} // namespace

TestSeams TestSeams::fromEnvironment()
{
    TestSeams seams;
    const auto date = variable(L"TARIFMASTER_TEST_START_DATE");
    const auto time = variable(L"TARIFMASTER_TEST_START_TIME");
    if (date && time)
        seams.start = form::StartTime{utf8(*date), utf8(*time)};
    if (const auto record = variable(L"TARIFMASTER_TEST_RECORD"))
        seams.record = std::make_shared<RecordFile>(*record);
    seams.accessible = variable(L"TARIFMASTER_TEST_ACCESSIBLE").has_value();
    seams.exitWhenShown = variable(L"TARIFMASTER_TEST_EXIT_WHEN_SHOWN").has_value();
    if (const auto refuse = variable(L"TARIFMASTER_TEST_REFUSE"))
        seams.refuse = utf8(*refuse);
    return seams;
}

} // namespace win32
