// SPDX-License-Identifier: MIT
#include "frmmain.h"

#include <commctrl.h>

#include "dpi.h"
#include "elementids.h"
#include "productinfo.h"
#include "programfolder.h"
#include "resourceids.h"
#include "windowdesign.h"

namespace veltaro::win32 {

namespace {

// The notification area's events, and the commands of its icon's menu.
constexpr UINT kNotifyMessage = WM_APP + 1;
constexpr UINT kShowCommand = 1;
constexpr UINT kExitCommand = 2;

// A fixed single frame: title bar with icon, system menu and close
// button; no sizing border, no minimise or maximise button.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = 0;

COLORREF colourRef(const design::Rgb& rgb)
{
    return RGB(rgb.red, rgb.green, rgb.blue);
}

RECT scaledBox(const design::Box& box, UINT dpi)
{
    const int scale = static_cast<int>(dpi);
    const int left = design::pixels(box.left, scale);
    const int top = design::pixels(box.top, scale);
    return {left, top, left + design::pixels(box.width, scale), top + design::pixels(box.height, scale)};
}

void place(HWND element, const RECT& box)
{
    ::SetWindowPos(element, nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void setFont(HWND element, HFONT font)
{
    ::SendMessageW(element, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

std::wstring textOf(HWND element)
{
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(element)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(element, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The size of one line of `text` in `font`: its width, and the font's
// line height.
SIZE textSize(HWND element, HFONT font, const std::wstring& text)
{
    HDC dc = ::GetDC(element);
    HGDIOBJ previous = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, previous);
    ::ReleaseDC(element, dc);
    return {size.cx, metrics.tmHeight};
}

ATOM registerWindowClass(HINSTANCE instance, WNDPROC procedure)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(VELTARO_ICON_PROGRAM));
    windowClass.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kFrmmainClass;
    return ::RegisterClassExW(&windowClass);
}

HWND createElement(HWND parent, HINSTANCE instance, const wchar_t* kind, DWORD style, DWORD exStyle, int id,
                   const wchar_t* text = L"")
{
    return ::CreateWindowExW(exStyle, kind, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

// The text field's own procedure, with the one message it must never act
// on. The field lies below the client area, yet the menu key or Shift+F10
// would open its Undo/Copy/Select All menu, hanging below the window and
// handing out the FamilyCode; the field has no menu. The system's edit
// procedure is kept in the field's user data.
LRESULT CALLBACK txtsignProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CONTEXTMENU)
        return 0;
    const auto editProcedure = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(field, GWLP_USERDATA));
    return ::CallWindowProcW(editProcedure, field, message, wParam, lParam);
}

}  // namespace

Frmmain::Frmmain(HINSTANCE instance, const FrmmainServices& services, const std::wstring& title)
    : m_instance(instance)
    , m_title(title)
    , m_processorLineBrush(::CreateSolidBrush(colourRef(design::kProcessorLineBackground)))
    , m_readoutBrush(::CreateSolidBrush(colourRef(design::kReadoutBackground)))
    , m_emblem(instance, VELTARO_PICTURE_EMBLEM)
    , m_emblemDouble(instance, VELTARO_PICTURE_EMBLEM_2X)
    , m_behaviour(*this, services)
{
    static const ATOM windowClass = registerWindowClass(instance, &Frmmain::windowProcedure);
    (void)windowClass;
    m_window = ::CreateWindowExW(kWindowExStyle, kFrmmainClass, title.c_str(), kWindowStyle, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, this);
    m_taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    allowFromLesserRights(m_window, m_taskbarCreated);
    createElements();
    layOut(dpiOfWindow(m_window));
}

Frmmain::~Frmmain()
{
    if (m_window != nullptr)
        ::DestroyWindow(m_window);
}

bool Frmmain::start()
{
    return m_behaviour.start();
}

void Frmmain::createElements()
{
    // In the design's order. The text field is the one element with a tab
    // stop, so it takes the focus; it is read-only, so that a key typed
    // into the window cannot change the FamilyCode and stop the readout.
    // Every label shows its text as it stands: without SS_NOPREFIX an
    // ampersand, as in a processor name "AMD R&D Sample", would be taken for
    // a shortcut mark, hidden and the next letter underlined.
    txtsign = createElement(m_window, m_instance, L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY, WS_EX_CLIENTEDGE,
                            kTxtsignId);
    ::SetWindowLongPtrW(txtsign, GWLP_USERDATA, ::GetWindowLongPtrW(txtsign, GWLP_WNDPROC));
    ::SetWindowLongPtrW(txtsign, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&txtsignProcedure));
    Label3 = createElement(m_window, m_instance, L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY, 0, kLabel3Id,
                           product::kAuthorName);
    Label8 = createElement(m_window, m_instance, L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, kLabel8Id,
                           product::kAuthorCreditLine);
    lblProcessorName = createElement(m_window, m_instance, L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, WS_EX_STATICEDGE,
                                     kLblProcessorNameId);
    lbltemp = createElement(m_window, m_instance, L"STATIC", SS_CENTER | SS_NOPREFIX, WS_EX_STATICEDGE, kLbltempId);
}

namespace {

// The fields of TOOLINFOW that every version of the common controls
// knows: the program asks for no particular version.
TOOLINFOW readoutTool(HWND window)
{
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = window;
    tool.uId = kLbltempId;
    return tool;
}

// The tooltip breaks lines at "\r\n".
std::wstring tipText(const std::wstring& text)
{
    std::wstring lines;
    lines.reserve(text.size() + 8);
    for (const wchar_t character : text) {
        if (character == L'\n')
            lines += L'\r';
        lines += character;
    }
    return lines;
}

}  // namespace

void Frmmain::createReadoutTip()
{
    // The readout is a label, which lets the mouse through to the window:
    // the tool is its box in the window, which the tooltip watches. It
    // shows also while the window is not the active one (a monitoring
    // window seldom is), and its figures are read as it shows. Made when
    // the pointer first enters the window: the common controls' library
    // is loaded only then, not with every start.
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    HMODULE commonControls = ::LoadLibraryW(L"comctl32.dll");
    const auto initialize = commonControls == nullptr ? nullptr
                                                      : reinterpret_cast<InitFunction>(reinterpret_cast<void*>(
                                                            ::GetProcAddress(commonControls, "InitCommonControlsEx")));
    if (initialize == nullptr)
        return;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    initialize(&controls);
    readoutTip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_window, nullptr,
                                   m_instance, nullptr);
    TOOLINFOW tool = readoutTool(m_window);
    tool.uFlags = TTF_SUBCLASS;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    tool.rect = scaledBox(design::kLbltemp, m_dpi);
    ::SendMessageW(readoutTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // A width makes it break lines.
    ::SendMessageW(readoutTip, TTM_SETMAXTIPWIDTH, 0, 600);
}

bool Frmmain::onReadoutTipNotice(const NMHDR& notice, LPARAM lParam)
{
    switch (notice.code) {
    case TTN_GETDISPINFOW: {
        m_details = tipText(m_behaviour.readoutDetails());
        reinterpret_cast<NMTTDISPINFOW*>(lParam)->lpszText = m_details.data();
        return true;
    }
    case TTN_SHOW:
        m_detailsShown = true;
        return false;
    case TTN_POP: {
        // The next show asks for its text afresh.
        m_detailsShown = false;
        TOOLINFOW tool = readoutTool(m_window);
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        ::SendMessageW(readoutTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
        return true;
    }
    default:
        return false;
    }
}

bool Frmmain::readoutDetailsShown() const
{
    return m_detailsShown;
}

void Frmmain::setReadoutDetails(const std::wstring& text)
{
    m_details = tipText(text);
    TOOLINFOW tool = readoutTool(m_window);
    tool.lpszText = m_details.data();
    ::SendMessageW(readoutTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Frmmain::layOut(UINT dpi)
{
    m_dpi = dpi;
    m_fonts = createWindowFonts(dpi);
    // Above 96 DPI the pictures drawn at twice the size, brought down to
    // the size needed rather than blown up.
    const bool dense = dpi > USER_DEFAULT_SCREEN_DPI;
    const int pointerSize = ::MulDiv(32, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    m_envelope.reset(static_cast<HICON>(
        ::LoadImageW(m_instance, MAKEINTRESOURCEW(dense ? VELTARO_ICON_ENVELOPE_2X : VELTARO_ICON_ENVELOPE), IMAGE_ICON,
                     pointerSize, pointerSize, LR_DEFAULTCOLOR)));

    setFont(txtsign, m_fonts.dialog.get());
    setFont(Label3, m_fonts.link.get());
    setFont(Label8, m_fonts.dialog.get());
    setFont(lblProcessorName, m_fonts.dialog.get());
    setFont(lbltemp, m_fonts.readout.get());

    place(txtsign, scaledBox(design::kTxtsign, dpi));
    place(Label3, scaledBox(design::kLabel3, dpi));
    place(lblProcessorName, scaledBox(design::kLblProcessorName, dpi));
    place(lbltemp, scaledBox(design::kLbltemp, dpi));
    TOOLINFOW tool = readoutTool(m_window);
    tool.rect = scaledBox(design::kLbltemp, dpi);
    ::SendMessageW(readoutTip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    // Label8 fits itself to its one line of text and keeps its corner.
    const RECT corner = scaledBox(design::kLabel8, dpi);
    const SIZE line = textSize(Label8, m_fonts.dialog.get(), textOf(Label8));
    place(Label8, {corner.left, corner.top, corner.left + line.cx, corner.top + line.cy});

    const RECT client = scaledBox(design::kClientArea, dpi);
    const SIZE outer = outerSizeFor({client.right, client.bottom}, kWindowStyle, kWindowExStyle, dpi);
    ::SetWindowPos(m_window, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(m_window, nullptr, TRUE);
    if (m_notifyIcon.added())
        m_notifyIcon.setPicture(notificationIcon(m_notifyNumber, smallIconSide(dpi)));
}

LRESULT CALLBACK Frmmain::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Frmmain*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_window = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Frmmain*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_window = nullptr;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return self->onMessage(message, wParam, lParam);
}

LRESULT Frmmain::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == m_taskbarCreated && m_taskbarCreated != 0) {
        if (m_notifyIcon.added())
            m_notifyIcon.add(m_window, kNotifyMessage);
        return 0;
    }
    switch (message) {
    case kNotifyMessage:
        onNotifyIconEvent(LOWORD(lParam), wParam);
        return 0;
    case WM_COMMAND:
        if (lParam == 0 && HIWORD(wParam) == 0 && (LOWORD(wParam) == kShowCommand || LOWORD(wParam) == kExitCommand)) {
            // As the window's close button does: the window closes and
            // the program ends.
            if (LOWORD(wParam) == kExitCommand)
                ::PostMessageW(m_window, WM_CLOSE, 0, 0);
            else
                bringToFront();
            return 0;
        }
        if (LOWORD(wParam) == kLabel3Id && HIWORD(wParam) == STN_CLICKED) {
            m_behaviour.onLabel3Click();
            return 0;
        }
        break;
    case WM_TIMER:
        if (wParam == Timer1) {
            m_behaviour.onTimer1Tick();
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        if (readoutTip == nullptr) {
            createReadoutTip();
            // The tooltip watches the window's mouse from now on; this
            // move came before it did.
            MSG move{m_window, message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
            ::SendMessageW(readoutTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
        }
        break;
    case WM_NOTIFY: {
        const NMHDR& notice = *reinterpret_cast<const NMHDR*>(lParam);
        if (notice.hwndFrom == readoutTip && onReadoutTipNotice(notice, lParam))
            return 0;
        break;
    }
    case WM_CTLCOLORSTATIC:
        if (HBRUSH brush = colourElement(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_SETCURSOR:
        if (setPointer(reinterpret_cast<HWND>(wParam), LOWORD(lParam)))
            return TRUE;
        break;
    case WM_PAINT: {
        PAINTSTRUCT painting;
        HDC dc = ::BeginPaint(m_window, &painting);
        paint(dc);
        ::EndPaint(m_window, &painting);
        return 0;
    }
    case WM_PRINTCLIENT:
        paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_DPICHANGED: {
        // The system suggests where the window goes on the new monitor;
        // its size follows from the design at the new resolution.
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(m_window, nullptr, suggested.left, suggested.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        layOut(HIWORD(wParam));
        return 0;
    }
    case WM_DESTROY:
        m_notifyIcon.remove();
        ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(m_window, message, wParam, lParam);
}

void Frmmain::paint(HDC dc) const
{
    // The shadow first, the emblem above it: only the band right of and
    // below the emblem's square shows.
    const RECT shadow = scaledBox(design::kShape1, m_dpi);
    ::FillRect(dc, &shadow, ::GetSysColorBrush(COLOR_INACTIVECAPTION));
    const Emblem& emblem = m_dpi > USER_DEFAULT_SCREEN_DPI ? m_emblemDouble : m_emblem;
    emblem.draw(dc, scaledBox(design::kImage1, m_dpi));
}

HBRUSH Frmmain::colourElement(HWND element, HDC dc) const
{
    COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
    COLORREF background = ::GetSysColor(COLOR_BTNFACE);
    HBRUSH brush = ::GetSysColorBrush(COLOR_BTNFACE);
    if (element == lbltemp) {
        text = colourRef(design::kReadoutText);
        background = colourRef(design::kReadoutBackground);
        brush = m_readoutBrush.get();
    } else if (element == lblProcessorName) {
        background = colourRef(design::kProcessorLineBackground);
        brush = m_processorLineBrush.get();
    } else if (element == Label3) {
        text = colourRef(design::kLinkText);
    } else if (element != Label8) {
        return nullptr;  // the text field, read-only or not, keeps the system's colours
    }
    ::SetTextColor(dc, text);
    ::SetBkColor(dc, background);
    ::SetBkMode(dc, OPAQUE);
    return brush;
}

bool Frmmain::setPointer(HWND element, int hitTest) const
{
    if (element != Label3 || hitTest != HTCLIENT || !m_envelope)
        return false;
    ::SetCursor(m_envelope.get());
    return true;
}

void Frmmain::setTemperatureCaption(const std::wstring& caption)
{
    // Five ticks a second for days: an unchanged reading costs no repaint.
    if (caption == m_caption)
        return;
    m_caption = caption;
    ::SetWindowTextW(lbltemp, caption.c_str());
}

std::wstring Frmmain::familyCode() const
{
    return textOf(txtsign);
}

void Frmmain::setFamilyCode(const std::wstring& code)
{
    ::SetWindowTextW(txtsign, code.c_str());
}

void Frmmain::setProcessorLine(const std::wstring& line)
{
    ::SetWindowTextW(lblProcessorName, line.c_str());
}

void Frmmain::setTimer1Enabled(bool enabled)
{
    if (enabled)
        ::SetTimer(m_window, Timer1, design::kTimer1IntervalMs, nullptr);
    else
        ::KillTimer(m_window, Timer1);
}

std::wstring Frmmain::programFolder() const
{
    return veltaro::programFolder();
}

WindowHandle Frmmain::nativeWindowHandle() const
{
    return reinterpret_cast<WindowHandle>(m_window);
}

void Frmmain::showWindow()
{
    ::ShowWindow(m_window, SW_SHOW);
    ::UpdateWindow(m_window);
    ::SetFocus(txtsign);
}

void Frmmain::setNotificationNumber(std::optional<long long> celsius)
{
    m_notifyNumber = celsius;
    m_notifyIcon.setPicture(notificationIcon(celsius, smallIconSide(m_dpi)));
}

void Frmmain::setNotificationTip(const std::wstring& text)
{
    // The area's tooltip breaks lines at "\n" and holds 127 characters.
    m_notifyIcon.setTip(fitWholeLines(m_title + L'\n' + text, kNotifyTipLength));
}

void Frmmain::showNotificationIcon()
{
    m_notifyIcon.add(m_window, kNotifyMessage);
}

void Frmmain::onNotifyIconEvent(UINT event, WPARAM place)
{
    switch (event) {
    case WM_MOUSEMOVE:
        m_behaviour.onNotificationPointer();
        break;
    case NIN_SELECT:
    case NIN_KEYSELECT:
    case WM_LBUTTONDBLCLK:
        bringToFront();
        break;
    case WM_CONTEXTMENU:
        showNotifyMenu({static_cast<short>(LOWORD(place)), static_cast<short>(HIWORD(place))});
        break;
    default:
        break;
    }
}

void Frmmain::showNotifyMenu(POINT place)
{
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, kShowCommand, L"Show Veltaro");
    ::AppendMenuW(menu, MF_STRING, kExitCommand, L"Exit");
    // The menu closes when the user clicks elsewhere only if its owner is
    // the foreground window.
    ::SetForegroundWindow(m_window);
    ::TrackPopupMenuEx(menu, TPM_RIGHTBUTTON | (::GetSystemMetrics(SM_MENUDROPALIGNMENT) != 0 ? TPM_RIGHTALIGN : 0),
                       place.x, place.y, m_window, nullptr);
    ::PostMessageW(m_window, WM_NULL, 0, 0);
    ::DestroyMenu(menu);
}

void Frmmain::bringToFront()
{
    ::ShowWindow(m_window, ::IsIconic(m_window) != FALSE ? SW_RESTORE : SW_SHOW);
    ::SetForegroundWindow(m_window);
    ::BringWindowToTop(m_window);
}

}  // namespace veltaro::win32
