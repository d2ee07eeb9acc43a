#include "ui/win32/main_window.h"

#include <cmath>
#include <cstdint>
#include <exception>
#include <string_view>
#include <tuple>
#include <utility>

#include "app/frm_music.h"
#include "app/texts.h"
#include "platform/wide_win32.h"
#include "ui/win32/resource.h"

namespace orvando::win32 {

namespace {

constexpr wchar_t kClassName[] = L"OrvandoMainWindow";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL
constexpr Shown kButtons[] = {Shown::rename, Shown::unrename, Shown::cmdErrorHelp};

// Functions of newer Windows versions, looked up so that the program still
// starts where they are missing.
template <typename Function>
Function systemFunction(const wchar_t* module, const char* name) {
    const HMODULE handle = GetModuleHandleW(module);
    if (handle == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(handle, name)));
}

UINT screenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

UINT dpiOf(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow =
        systemFunction<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow != nullptr) {
        if (const UINT dpi = getDpiForWindow(hwnd); dpi != 0) {
            return dpi;
        }
    }
    return screenDpi();
}

// The outer size of a window whose client area is `client`.
SIZE outerSize(SIZE client, UINT dpi) {
    using AdjustFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi =
        systemFunction<AdjustFn>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT rect{0, 0, client.cx, client.cy};
    if (adjustForDpi == nullptr || !adjustForDpi(&rect, kStyle, FALSE, kExStyle, dpi)) {
        rect = {0, 0, client.cx, client.cy};
        AdjustWindowRectEx(&rect, kStyle, FALSE, kExStyle);
    }
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// The platform's user-interface font at `dpi`: the font of the buttons
// without a font of their own.
HFONT createMessageFont(UINT dpi) {
    using SpiForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    static const auto spiForDpi =
        systemFunction<SpiForDpiFn>(L"user32.dll", "SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (spiForDpi != nullptr &&
        spiForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
        return CreateFontIndirectW(&metrics.lfMessageFont);
    }
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        LOGFONTW font = metrics.lfMessageFont;
        font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(screenDpi()));
        return CreateFontIndirectW(&font);
    }
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// "Error Help" is set in Arial, 9 point, italic, normal weight.
HFONT createHelpFont(UINT dpi) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(9, static_cast<int>(dpi), 72);
    font.lfWeight = FW_NORMAL;
    font.lfItalic = TRUE;
    font.lfCharSet = ANSI_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    lstrcpynW(font.lfFaceName, L"Arial", LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

void deleteFont(HFONT font) {
    if (font != nullptr && font != GetStockObject(DEFAULT_GUI_FONT)) {
        DeleteObject(font);
    }
}

// The icon's best image for `size` pixels, scaled down from a larger one
// where the file has no image of that size.
HICON loadIcon(HINSTANCE instance, int id, int size) {
    using ScaleDownFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    static const auto scaleDown =
        systemFunction<ScaleDownFn>(L"comctl32.dll", "LoadIconWithScaleDown");
    HICON icon = nullptr;
    if (scaleDown != nullptr &&
        SUCCEEDED(scaleDown(instance, MAKEINTRESOURCEW(id), size, size, &icon))) {
        return icon;
    }
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// How wide a button must be for its label in its font: the text and a
// margin of one average character on each side, as dialog layouts give it,
// clear of the button's frame and focus rectangle.
int labelWidth(HWND button) {
    wchar_t label[64]{};
    const int length = GetWindowTextW(button, label, 64);
    const HDC dc = GetDC(button);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(button, WM_GETFONT, 0, 0)));
    SIZE text{};
    GetTextExtentPoint32W(dc, label, length, &text);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(button, dc);
    return text.cx + 2 * metrics.tmAveCharWidth;
}

bool registerWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = kClassName;
    windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP),
                                                      IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                      GetSystemMetrics(SM_CYICON), LR_SHARED));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool usable(HWND control) {
    return control != nullptr && (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0 &&
           IsWindowEnabled(control);
}

}  // namespace

MainWindow::~MainWindow() {
    if (hwnd_ != nullptr) {
        quitOnDestroy_ = false;
        DestroyWindow(hwnd_);
    }
    if (owner_ != nullptr) {
        DestroyWindow(owner_);
    }
    deleteFont(buttonFont_);
    deleteFont(helpFont_);
    if (image1_ != nullptr) {
        DestroyIcon(image1_);
    }
    if (image2_ != nullptr) {
        DestroyIcon(image2_);
    }
}

bool MainWindow::create() {
    if (hwnd_ != nullptr || !registerWindowClass(instance_, WindowProc)) {
        return hwnd_ != nullptr;
    }
    // Start on the monitor the user is looking at, so the window gets that
    // monitor's DPI from the beginning.
    POINT cursor{};
    GetCursorPos(&cursor);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY), &monitor);

    // A popup owned by a hidden window, as a dialog is: Windows gives it no
    // taskbar button, and window managers on X (under Wine or Proton) take
    // it for a dialog, which they make active when it appears. A normal
    // window kept off the taskbar is left inactive there by some of them,
    // and the keyboard would do nothing until the player clicked it.
    owner_ = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_,
                             nullptr);
    CreateWindowExW(kExStyle, kClassName, widen(text::kDesignedCaption).c_str(), kStyle,
                    monitor.rcWork.left, monitor.rcWork.top, 0, 0, owner_, nullptr, instance_,
                    this);
    if (hwnd_ == nullptr) {
        return false;
    }
    dpi_ = dpiOf(hwnd_);
    createControls();
    updateFonts();
    relayout();
    return true;
}

void MainWindow::createControls() {
    constexpr DWORD kButton = WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON;
    constexpr DWORD kPicture = WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZECONTROL;
    // Both action buttons start hidden; the load event shows the ones that fit.
    const std::pair<DWORD, std::string_view> kinds[kShownCount] = {
        {kButton, text::kRenameButton},
        {kButton, text::kUnrenameButton},
        {kButton | WS_VISIBLE, text::kErrorHelpButton},
        {kPicture, {}},
        {kPicture, {}},
    };
    for (int i = 0; i < kShownCount; ++i) {
        controls_[i] = CreateWindowExW(
            0, i < kButtonCount ? L"Button" : L"Static", widen(kinds[i].second).c_str(),
            kinds[i].first, 0, 0, 0, 0, hwnd_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)), instance_, nullptr);
    }
}

void MainWindow::updateFonts() {
    const HFONT oldButtonFont = buttonFont_;
    const HFONT oldHelpFont = helpFont_;
    buttonFont_ = createMessageFont(dpi_);
    helpFont_ = createHelpFont(dpi_);
    for (const Shown c : {Shown::rename, Shown::unrename}) {
        SendMessageW(control(c), WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_), TRUE);
    }
    SendMessageW(control(Shown::cmdErrorHelp), WM_SETFONT, reinterpret_cast<WPARAM>(helpFont_),
                 TRUE);
    deleteFont(oldButtonFont);
    deleteFont(oldHelpFont);
}

// Every button's label, hidden ones too, as wide as the button draws it in
// its font: so the window is the same in every state.
void MainWindow::relayout() {
    std::array<int, kButtonCount> labels{};
    for (int i = 0; i < kButtonCount; ++i) {
        labels[i] = labelWidth(controls_[i]);
    }
    layout_ = WindowLayout(dpi_, labels);
    const SIZE outer = outerSize({layout_.clientWidth(), layout_.clientHeight()}, dpi_);
    const int width = outerWidthTwips_ ? layout_.outerWidth(*outerWidthTwips_) : outer.cx;
    SetWindowPos(hwnd_, nullptr, 0, 0, width, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    for (int i = 0; i < kShownCount; ++i) {
        const PixelBox box = layout_.box(static_cast<Shown>(i));
        SetWindowPos(controls_[i], nullptr, box.left, box.top, box.width, box.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The portraits filling their places, from the icon's best image.
    for (auto [picture, id, icon] : {std::tuple{Shown::Image1, IDI_IMAGE1, &image1_},
                                     std::tuple{Shown::Image2, IDI_IMAGE2, &image2_}}) {
        const HICON old = *icon;
        *icon = loadIcon(instance_, id, layout_.box(picture).width);
        SendMessageW(control(picture), STM_SETICON, reinterpret_cast<WPARAM>(*icon), 0);
        if (old != nullptr) {
            DestroyIcon(old);
        }
    }
}

bool MainWindow::load() {
    if (presenter_ == nullptr || hwnd_ == nullptr) {
        return false;
    }
    runHandler(&frmMusic::Form_Load);
    return !ended_;
}

void MainWindow::show() {
    if (hwnd_ == nullptr) {
        return;
    }
    if (!shownOnce_) {
        shownOnce_ = true;
        RECT window{};
        GetWindowRect(hwnd_, &window);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
        const RECT& work = monitor.rcWork;
        const int width = window.right - window.left;
        const int height = window.bottom - window.top;
        SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - width) / 2,
                     work.top + (work.bottom - work.top - height) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    focusFirstButton();
    UpdateWindow(hwnd_);
}

int MainWindow::messageLoop() {
    MSG message{};
    for (;;) {
        const BOOL result = GetMessageW(&message, nullptr, 0, 0);
        if (result == 0) {
            return static_cast<int>(message.wParam);
        }
        if (result == -1) {
            return 1;
        }
        if (!preTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

bool MainWindow::preTranslate(MSG& message) {
    return hwnd_ != nullptr && IsDialogMessageW(hwnd_, &message);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_ACTIVATE:
            // Keep the focus on the same button when the window comes back.
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus != nullptr && IsChild(hwnd_, focus)) {
                    lastFocus_ = focus;
                }
            } else if (usable(lastFocus_) && IsChild(hwnd_, lastFocus_)) {
                SetFocus(lastFocus_);
            } else {
                focusFirstButton();
            }
            return 0;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            updateFonts();
            relayout();
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_DESTROY:
            if (quitOnDestroy_) {
                PostQuitMessage(exitStatus_);
            }
            return 0;
        default:
            return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

void MainWindow::onCommand(int id, int code) {
    if (id == IDCANCEL) {
        return;  // Escape: there is no cancel button
    }
    if (id == IDOK) {
        // Enter: there is no default button, so only the focused button acts.
        const HWND focus = GetFocus();
        for (const Shown button : kButtons) {
            if (focus != nullptr && focus == control(button)) {
                click(button);
            }
        }
        return;
    }
    if (code != BN_CLICKED) {
        return;
    }
    for (const Shown button : kButtons) {
        if (id == kFirstControlId + static_cast<int>(button)) {
            click(button);
        }
    }
}

void MainWindow::click(Shown button) {
    if (presenter_ == nullptr || ended_ || inHandler_ || !usable(control(button))) {
        return;
    }
    switch (button) {
        case Shown::rename:
            runHandler(&frmMusic::rename_Click);
            break;
        case Shown::unrename:
            runHandler(&frmMusic::unrename_Click);
            break;
        case Shown::cmdErrorHelp:
            runHandler(&frmMusic::cmdErrorHelp_Click);
            break;
        default:
            break;
    }
}

void MainWindow::runHandler(void (frmMusic::*handler)()) {
    inHandler_ = true;
    std::string failure;
    try {
        (presenter_->*handler)();
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "unknown error";
    }
    inHandler_ = false;
    if (!failure.empty() && !ended_) {
        msgBox("Run-time error: " + failure + ".", MsgBoxStyle::Critical,
               std::string(text::kDesignedCaption));
        end(1);
    }
}

void MainWindow::focusFirstButton() {
    for (const Shown button : kButtons) {
        if (usable(control(button))) {
            SetFocus(control(button));
            return;
        }
    }
}

HWND MainWindow::buttonOf(ActionButton button) const {
    return control(button == ActionButton::rename ? Shown::rename : Shown::unrename);
}

void MainWindow::setWidth(float twips) {
    outerWidthTwips_ = twips;
    if (hwnd_ != nullptr) {
        relayout();
    }
}

void MainWindow::setCaption(const std::string& caption) {
    if (hwnd_ != nullptr) {
        SetWindowTextW(hwnd_, widen(caption).c_str());
    }
}

void MainWindow::setButtonVisible(ActionButton button, bool visible) {
    if (hwnd_ != nullptr) {
        ShowWindow(buttonOf(button), visible ? SW_SHOWNA : SW_HIDE);
    }
}

void MainWindow::setButtonEnabled(ActionButton button, bool enabled) {
    if (hwnd_ != nullptr) {
        EnableWindow(buttonOf(button), enabled ? TRUE : FALSE);
    }
}

void MainWindow::setVisible(bool visible) {
    if (visible) {
        show();
    } else if (hwnd_ != nullptr) {
        ShowWindow(hwnd_, SW_HIDE);
    }
}

void MainWindow::msgBox(const std::string& prompt, MsgBoxStyle style, const std::string& title) {
    // Over the window while it is shown, owned by it: modal to it, and the
    // window active again afterwards. During an operation the window is
    // hidden and the boxes stand alone, task-modal.
    const bool shown = hwnd_ != nullptr && IsWindowVisible(hwnd_);
    MessageBoxW(shown ? hwnd_ : nullptr, widen(prompt).c_str(), widen(title).c_str(),
                MB_OK | static_cast<UINT>(style) | (shown ? MB_APPLMODAL : MB_TASKMODAL) |
                    MB_SETFOREGROUND);
}

void MainWindow::end(int exitStatus) {
    if (ended_) {
        return;
    }
    ended_ = true;
    exitStatus_ = exitStatus;
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);  // posts the quit message with exitStatus_
    } else {
        PostQuitMessage(exitStatus);
    }
}

}  // namespace orvando::win32
