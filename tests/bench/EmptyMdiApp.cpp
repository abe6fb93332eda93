// EmptyMdiApp: the smallest program of the browser's kind, the floor that the
// start-up benchmark measures the browser against. A frame with a menu bar, a
// status bar and an MDI client, with OLE and the common controls initialised
// as the browser has them; it closes on WM_CLOSE like any frame.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

namespace {

const char kFrameClass[] = "VaBenchEmptyFrame";
HWND g_client = nullptr;
HWND g_status = nullptr;

HMENU CreateMenuBar()
{
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 57600, "&New");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING, 57665, "E&xit");
    HMENU window = CreatePopupMenu();
    AppendMenuA(window, MF_STRING, 57650, "&Cascade");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(window), "&Window");
    return bar;
}

void LayOut(HWND frame)
{
    RECT rc;
    GetClientRect(frame, &rc);
    SendMessageA(g_status, WM_SIZE, 0, 0);
    RECT status;
    GetWindowRect(g_status, &status);
    int statusHeight = status.bottom - status.top;
    MoveWindow(g_client, 0, 0, rc.right, rc.bottom - statusHeight, TRUE);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE: {
        CLIENTCREATESTRUCT ccs = {};
        ccs.hWindowMenu = GetSubMenu(GetMenu(hwnd), 1);
        ccs.idFirstChild = 0xFF00;
        g_client = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                   WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 0, 0,
                                   hwnd, nullptr, GetModuleHandleA(nullptr), &ccs);
        g_status = CreateWindowExA(0, STATUSCLASSNAMEA, "Ready",
                                   WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                   hwnd, nullptr, GetModuleHandleA(nullptr), nullptr);
        return g_client != nullptr && g_status != nullptr ? 0 : -1;
    }
    case WM_SIZE:
        LayOut(hwnd);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == 57665) {
            PostMessageA(hwnd, WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefFrameProcA(hwnd, g_client, msg, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    if (FAILED(OleInitialize(nullptr)))
        return 1;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = kFrameClass;
    RegisterClassA(&wc);
    HWND frame = CreateWindowExA(0, kFrameClass, "Empty MDI", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                 CW_USEDEFAULT, CW_USEDEFAULT, 800, 600, nullptr, CreateMenuBar(),
                                 instance, nullptr);
    if (frame == nullptr)
        return 1;
    ShowWindow(frame, show);
    UpdateWindow(frame);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!TranslateMDISysAccel(g_client, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    OleUninitialize();
    return static_cast<int>(msg.wParam);
}
