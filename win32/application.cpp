#include "win32/application.h"

#include "form/fleet_texts.h"
#include "form/inventory.h"
#include "report/file_writer.h"
#include "win32/fleet_window.h"
#include "win32/main_window.h"
#include "win32/text.h"

#include <memory>
#include <string>

namespace win32 {

namespace {

void tellNotBuilt(const std::string &refused, const TestSeams &seams)
{
    if (seams.record)
        seams.record->line("refused", refused);
    const std::string text = "Окно программы не открылось: Windows отказала в создании элемента «" + refused
        + "». Закройте другие программы и запустите ТарифМастер снова.";
    MessageBoxW(nullptr, wide(text).c_str(), wide(form::kFormCaption).c_str(), MB_OK | MB_ICONERROR);
}

class Application {
public:
    Application(HINSTANCE instance, int show, TestSeams seams)
        : m_instance(instance)
        , m_show(show)
        , m_seams(std::move(seams))
    {
    }

    int run(const form::WindowRequest &request);

private:
    bool openMain();
    bool openFleet(const std::optional<std::filesystem::path> &list);
    void closed();
    int messageLoop();

    HINSTANCE m_instance;
    int m_show;
    TestSeams m_seams;
    std::unique_ptr<MainWindow> m_main;
    std::unique_ptr<FleetWindow> m_fleet;
    int m_open = 0; // windows shown and not yet gone
};

int Application::run(const form::WindowRequest &request)
{
    if (!MainWindow::registerClasses(m_instance) || !FleetWindow::registerClass(m_instance)) {
        tellNotBuilt("Form1", m_seams);
        return kNotBuilt;
    }
    const bool opened = request.fleet
        ? openFleet(request.list ? std::optional(report::pathOfUtf8(*request.list)) : std::nullopt)
        : openMain();
    return opened ? messageLoop() : kNotBuilt;
}

bool Application::openMain()
{
    m_main = std::make_unique<MainWindow>(m_instance,
        m_seams,
        MainWindowEvents{[this](const std::filesystem::path &list) {
                             openFleet(list);
                         },
            [this] {
                closed();
            }});
    ++m_open; // counted before it shows: a window may be gone again at once (a timed start)
    if (const std::string refused = m_main->create(m_show); !refused.empty()) {
        tellNotBuilt(refused, m_seams);
        return false;
    }
    return true;
}

// The fleet window with a list to compute at once, or asking for one; the open one if there is one.
bool Application::openFleet(const std::optional<std::filesystem::path> &list)
{
    if (!m_fleet || !m_fleet->hwnd()) {
        m_fleet = std::make_unique<FleetWindow>(m_instance, m_seams, [this] {
            closed();
        });
        ++m_open;
        if (!m_fleet->create(m_main ? SW_SHOWNORMAL : m_show)) {
            --m_open;
            tellNotBuilt(std::string(form::fleet_text::kTitle), m_seams);
            return false;
        }
    } else {
        ShowWindow(m_fleet->hwnd(), SW_RESTORE);
        SetForegroundWindow(m_fleet->hwnd());
    }
    if (list)
        m_fleet->compute(*list);
    else
        PostMessageW(m_fleet->hwnd(), kAskForListMessage, 0, 0); // once the window shows
    return true;
}

void Application::closed()
{
    if (--m_open == 0)
        PostQuitMessage(0);
}

int Application::messageLoop()
{
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (m_main && root && root == m_main->hwnd()) {
            if (m_main->pageKey(msg) || IsDialogMessageW(root, &msg))
                continue;
        } else if (m_fleet && root && root == m_fleet->hwnd() && IsDialogMessageW(root, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam) == 0 ? kClosed : kNotBuilt;
}

} // namespace

int runWindows(HINSTANCE instance, int show, const form::WindowRequest &request, TestSeams seams)
{
    return Application(instance, show, std::move(seams)).run(request);
}

} // namespace win32
