#include "win32/application.h"

#include "form/inventory.h"
#include "win32/main_window.h"
#include "win32/text.h"

#include <string>

namespace win32 {

namespace {

void tellNotBuilt(const std::string &refused)
{
    const std::string text = "Окно программы не открылось: Windows отказала в создании элемента «" + refused
        + "». Закройте другие программы и запустите ТарифМастер снова.";
    MessageBoxW(nullptr, wide(text).c_str(), wide(form::kFormCaption).c_str(), MB_OK | MB_ICONERROR);
}

int messageLoop(MainWindow &window)
{
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (window.pageKey(msg))
            continue;
        if (window.hwnd() && IsDialogMessageW(window.hwnd(), &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

} // namespace

int runWindow(HINSTANCE instance, int show, TestSeams seams)
{
    if (!MainWindow::registerClasses(instance)) {
        tellNotBuilt("Form1");
        return kNotBuilt;
    }
    MainWindow window(instance, std::move(seams));
    if (const std::string refused = window.create(show); !refused.empty()) {
        tellNotBuilt(refused);
        return kNotBuilt;
    }
    return messageLoop(window) == 0 ? kClosed : kNotBuilt;
}

} // namespace win32
