#include "win32/container.h"

namespace win32 {

namespace {

int frameMark;

void eraseGround(HWND container, HDC dc)
{
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetAncestor(container, GA_ROOT),
        WM_CTLCOLORSTATIC,
        reinterpret_cast<WPARAM>(dc),
        reinterpret_cast<LPARAM>(container)));
    RECT area;
    GetClientRect(container, &area);
    FillRect(dc, &area, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
}

void paintBorder(HWND frame)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(frame, &paint);
    RECT area;
    GetClientRect(frame, &area);
    DrawEdge(dc, &area, EDGE_ETCHED, BF_RECT);
    EndPaint(frame, &paint);
}

LRESULT CALLBACK containerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(hwnd,
            GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams));
        break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        return SendMessageW(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
    case WM_ERASEBKGND:
        eraseGround(hwnd, reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_PAINT:
        if (GetWindowLongPtrW(hwnd, GWLP_USERDATA)) {
            paintBorder(hwnd);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

bool registerContainerClass(HINSTANCE instance)
{
    WNDCLASSEXW container{};
    container.cbSize = sizeof container;
    container.lpfnWndProc = containerProc;
    container.hInstance = instance;
    container.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    container.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    container.lpszClassName = kContainerClass;
    return RegisterClassExW(&container) != 0;
}

void *frameCreation()
{
    return &frameMark;
}

} // namespace win32
