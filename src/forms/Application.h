// The application object: its hidden top-level window (which carries the taskbar button), the
// main form, the message loop, and the top-level exception handler with its error box.
#pragma once
#include "Form.h"
#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace forms {

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    void Initialize();
    void Finalize();  // destroys the forms and the application window, before static destruction
    HWND Handle() const { return handle_; }
    std::string Title = "";
    TForm* MainForm = nullptr;
    bool ShowMainForm = true;

    // Makes a form owned by the application; the first one becomes the main form.
    template <typename T, typename... Args>
    T* CreateForm(Args&&... args) {
        T* form = new T(this, std::forward<Args>(args)...);
        if (!MainForm) MainForm = form;
        return form;
    }

    void Run();                   // until Terminate or the main form closes
    void ProcessMessages();       // everything pending, then returns
    void HandleMessage();         // one message, waiting for it when there is none
    void Terminate();
    bool Terminated() const { return terminated_; }

    // The error box: the exception's message, the application title, an OK button.
    void HandleException(std::exception_ptr error);
    void ShowException(const std::string& message);
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);

    void Minimize();
    void Restore();
    void BringToFront();
    bool Minimized() const { return minimized_; }
    TNotifyEvent OnMinimize, OnRestore;
    std::function<void(const std::string& message)> OnException;

    // Hooks see every message of the application window first; returning true ends it there.
    using TWindowHook = std::function<bool(TMessage& msg)>;
    int HookMainWindow(TWindowHook hook);
    void UnhookMainWindow(int id);

    void FormShowing(TForm* form);  // a form is about to show: the taskbar button appears

private:
    static LRESULT CALLBACK AppWndProc(HWND, UINT, WPARAM, LPARAM);
    void WndProc(TMessage& m);
    bool ProcessMessage(MSG& msg);

    HWND handle_ = nullptr;
    bool terminated_ = false;
    bool minimized_ = false;
    int nextHookId_ = 1;
    std::vector<std::pair<int, TWindowHook>> hooks_;
};

extern TApplication* Application;

// Counts the windows of this process: top-level ones and all their descendants.
int CountProcessWindows();

}  // namespace forms
