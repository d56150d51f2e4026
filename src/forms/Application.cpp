#include "Application.h"
#include "Platform.h"
#include <algorithm>

namespace forms {

namespace {
TApplication theApplication;
const char* const AppClass = "TApplication";
}  // namespace

TApplication* Application = &theApplication;

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() {
    MarkDestroying();
    if (handle_) DestroyWindow(handle_);
}

void TApplication::Initialize() {
    terminated_ = false;  // a new run (tests start many in one process)
    if (handle_) return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = AppWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = AppClass;
    wc.hIcon = LoadIconA(wc.hInstance, "MAINICON");
    RegisterClassA(&wc);
    int cx = GetSystemMetrics(SM_CXSCREEN) / 2, cy = GetSystemMetrics(SM_CYSCREEN) / 2;
    handle_ = CreateWindowExA(0, AppClass, Title.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              cx, cy, 0, 0, nullptr, nullptr, wc.hInstance, this);
}

void TApplication::Finalize() {
    DestroyComponents();
    MainForm = nullptr;
    if (handle_) {
        DestroyWindow(handle_);
        handle_ = nullptr;
    }
}

LRESULT CALLBACK TApplication::AppWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* app = static_cast<TApplication*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
        app->handle_ = wnd;
    }
    auto* self = reinterpret_cast<TApplication*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(wnd, msg, wp, lp);
    TMessage m{msg, wp, lp, 0};
    try {
        self->WndProc(m);
    } catch (...) {
        self->HandleException(std::current_exception());
    }
    return m.Result;
}

void TApplication::WndProc(TMessage& m) {
    // A hook may remove itself while it runs: walk a copy.
    auto hooks = hooks_;
    for (auto& h : hooks)
        if (h.second(m)) return;
    switch (m.Msg) {
        case WM_SYSCOMMAND:
            switch (m.WParam & 0xFFF0) {
                case SC_MINIMIZE: Minimize(); m.Result = 0; return;
                case SC_RESTORE: Restore(); m.Result = 0; return;
                default: break;
            }
            break;
        case WM_CLOSE:
            if (MainForm) MainForm->Close();
            m.Result = 0;
            return;
        case WM_QUERYENDSESSION: {
            bool canClose = true;
            if (MainForm && MainForm->OnCloseQuery) MainForm->OnCloseQuery(MainForm, canClose);
            m.Result = canClose;
            return;
        }
        case WM_ENDSESSION:
            // The session ends (log-off, shut-down) rather than the user closing the program:
            // the main form closes as it would on Exit, so that what it keeps on closing is
            // kept; once, however often the message comes.
            if (m.WParam && MainForm && !terminated_) MainForm->Close();
            m.Result = 0;
            return;
        case WM_ACTIVATEAPP: case WM_ACTIVATE:
            if (m.Msg == WM_ACTIVATE && LOWORD(m.WParam) != WA_INACTIVE && MainForm && MainForm->HandleAllocated() &&
                IsWindowVisible(MainForm->Handle()) && IsWindowEnabled(MainForm->Handle())) {
                ::SetFocus(MainForm->Handle());
                m.Result = 0;
                return;
            }
            break;
        default:
            break;
    }
    m.Result = DefWindowProcA(handle_, m.Msg, m.WParam, m.LParam);
}

int TApplication::HookMainWindow(TWindowHook hook) {
    hooks_.emplace_back(nextHookId_, std::move(hook));
    return nextHookId_++;
}

void TApplication::UnhookMainWindow(int id) {
    hooks_.erase(std::remove_if(hooks_.begin(), hooks_.end(), [id](auto& h) { return h.first == id; }), hooks_.end());
}

void TApplication::FormShowing(TForm* form) {
    if (form == MainForm && handle_ && !IsWindowVisible(handle_)) {
        SetWindowTextA(handle_, Title.c_str());
        ShowWindow(handle_, SW_SHOWNOACTIVATE);
    }
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) { terminated_ = true; return true; }
    HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    // Dialog navigation (Tab, arrows, Enter) inside our forms that ask for it.
    if (top && TWinControl::FromHandle(top) && (GetWindowLongPtrA(top, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) &&
        msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && (msg.wParam == VK_TAB)) {
        if (IsDialogMessageA(top, &msg)) return true;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg) && !terminated_) WaitMessage();
}

void TApplication::Run() {
    if (MainForm && ShowMainForm && !MainForm->Visible()) MainForm->Show();
    while (!terminated_) {
        HandleMessage();
    }
}

void TApplication::Terminate() {
    terminated_ = true;
    PostQuitMessage(0);
}

void TApplication::ShowException(const std::string& message) {
    std::string text = message;
    // As the classic error box does: a sentence gets its full stop.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    if (OnException) { OnException(text); return; }
    MessageBox(text, Title, MB_OK | MB_ICONSTOP);
}

void TApplication::HandleException(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        ShowException(e.what());
    } catch (...) {
        ShowException("Unknown error");
    }
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    HWND owner = MainForm && MainForm->HandleAllocated() ? MainForm->Handle() : handle_;
    return platform.MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

void TApplication::Minimize() {
    if (minimized_) return;
    minimized_ = true;
    if (MainForm && MainForm->HandleAllocated()) ShowWindow(MainForm->Handle(), SW_HIDE);
    if (handle_) ShowWindow(handle_, SW_MINIMIZE);
    if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
    if (!minimized_) return;
    minimized_ = false;
    if (handle_) ShowWindow(handle_, SW_RESTORE);
    if (MainForm && MainForm->Visible() && MainForm->HandleAllocated()) ShowWindow(MainForm->Handle(), SW_SHOW);
    if (OnRestore) OnRestore(this);
}

void TApplication::BringToFront() {
    if (MainForm && MainForm->HandleAllocated()) SetForegroundWindow(MainForm->Handle());
}

namespace {
struct WindowCount {
    DWORD pid;
    int n;
};

BOOL CALLBACK CountChild(HWND, LPARAM lp) {
    ++*reinterpret_cast<int*>(lp);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND w, LPARAM lp) {
    auto* c = reinterpret_cast<WindowCount*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != c->pid) return TRUE;
    ++c->n;
    EnumChildWindows(w, CountChild, reinterpret_cast<LPARAM>(&c->n));
    return TRUE;
}
}  // namespace

int CountProcessWindows() {
    WindowCount c{GetCurrentProcessId(), 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&c));
    return c.n;
}

}  // namespace forms
