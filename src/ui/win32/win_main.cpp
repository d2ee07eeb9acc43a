// Program start on Windows: the window is created hidden, the load event
// decides whether it is ever shown, and the message loop runs until the
// program ends. The exit status is 0 after an operation or a close, 1 when
// the program refused the folder or stopped at an error.
#include <windows.h>
// after windows.h, which it builds on
#include <commctrl.h>

#include <exception>

#include "app/frm_music.h"
#include "platform/file_services.h"
#include "ui/win32/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);

    try {
        const auto files = orvando::makeSystemFileServices();
        orvando::win32::MainWindow window(instance);
        if (!window.create()) {
            MessageBoxW(nullptr, L"The window could not be created.", L"Orvando v2",
                        MB_OK | MB_ICONERROR | MB_TASKMODAL);
            return 1;
        }
        orvando::frmMusic form(window, *files);
        window.attach(form);
        if (!window.load()) {
            return window.exitStatus();
        }
        window.show();
        return window.messageLoop();
    } catch (const std::exception&) {
        MessageBoxW(nullptr, L"The program stopped at an unexpected error.", L"Orvando v2",
                    MB_OK | MB_ICONERROR | MB_TASKMODAL);
        return 1;
    }
}
