// Program entry: the monitor window does all start-up work while it is created, then the options
// dialog is made, hidden; without a service the program ends before its message loop.
#include "ConfForm.h"
#include "MainForm.h"
#include "ServiceLink.h"
#include "forms/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    forms::Application->Title = "Thermowl";
    try {
        forms::Application->Initialize();
        auto* monitor = forms::Application->CreateForm<thermowl::TMainForm>();
        forms::Application->CreateForm<thermowl::TConfForm>(monitor);
        if (thermowl::ServiceThreadId != 0) forms::Application->Run();
    } catch (...) {
        // Nothing a window procedure could catch (the window itself could not be made).
        forms::Application->HandleException(std::current_exception());
    }
    forms::Application->Finalize();
    return 0;
}
