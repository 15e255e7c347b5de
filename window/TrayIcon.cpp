#include "window/TrayIcon.h"

#include "window/ShellSeam.h"

#include <commctrl.h>

#include <cstddef>
#include <cwchar>
#include <memory>
#include <type_traits>

static_assert(notifyIconDataSize == offsetof(NOTIFYICONDATAW, hBalloonIcon),
              "the icon record is sent in its version-3 length");

namespace {

constexpr COLORREF greyFillColour = RGB(0x81, 0x81, 0x81);  // also the image list's mask colour
constexpr int baseIconSize = 16;
constexpr int baseDpi = 96;

struct ImageListDeleter {
    void operator()(HIMAGELIST list) const { ::ImageList_Destroy(list); }
};
using ImageList = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter>;

// The full file name of the executable of the process that owns window, or "".
bool OwnerExecutable(HWND window, wchar_t (&path)[MAX_PATH])
{
    path[0] = L'\0';
    DWORD processId = 0;
    if (!::GetWindowThreadProcessId(window, &processId) || processId == 0)
        return false;
    KernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process)
        return false;
    DWORD length = MAX_PATH;
    return ::QueryFullProcessImageNameW(process.Get(), 0, path, &length) && length > 0;
}

}  // namespace

TrayIcon::TrayIcon(HWND ownerWindow, HINSTANCE) : owner(ownerWindow), notifyData{}, windowIcon(FindWindowIcon(owner))
{

    notifyData.cbSize = notifyIconDataSize;
    notifyData.hWnd = owner;
    notifyData.uID = iconId;
    notifyData.uCallbackMessage = trayCallbackMessage;

    LOGFONTW iconTitleFont{};
    if (::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof iconTitleFont, &iconTitleFont, 0))
        font.Reset(::CreateFontIndirectW(&iconTitleFont));
}

TrayIcon::~TrayIcon()
{
    // A dead icon would stay in the notification area until the mouse passes over it.
    HideIcon();
    OwnedIcon shownIcon(notifyData.hIcon);
}

bool TrayIcon::ShowIcon()
{
    if (shown)
        return false;
    notifyData.uFlags = AddFlags();
    const BOOL added = CallShellNotifyIcon(NIM_ADD, &notifyData);
    // Shown from now on even when the shell refused: HideIcon then still asks to remove it.
    shown = true;
    return added != FALSE;
}

bool TrayIcon::RestoreIcon()
{
    if (!shown)
        return false;
    notifyData.uFlags = AddFlags();
    return CallShellNotifyIcon(NIM_ADD, &notifyData) != FALSE;
}

void TrayIcon::HideIcon()
{
    if (!shown)
        return;
    CallShellNotifyIcon(NIM_DELETE, &notifyData);
    shown = false;
}

void TrayIcon::SetIcon(HICON icon)
{
    OwnedIcon previous(notifyData.hIcon);
    notifyData.hIcon = icon;
    if (shown) {
        notifyData.uFlags = NIF_ICON;
        CallShellNotifyIcon(NIM_MODIFY, &notifyData);
    }
}

void TrayIcon::SetTip(const wchar_t* tip)
{
    constexpr size_t capacity = sizeof notifyData.szTip / sizeof notifyData.szTip[0];
    if (std::wcsncmp(notifyData.szTip, tip, capacity - 1) == 0)
        return;
    ::lstrcpynW(notifyData.szTip, tip, static_cast<int>(capacity));
    if (shown) {
        notifyData.uFlags = NIF_TIP;
        CallShellNotifyIcon(NIM_MODIFY, &notifyData);
    }
}

UINT TrayIcon::AddFlags() const
{
    // An icon without a tooltip is added exactly as it always was.
    return NIF_MESSAGE | NIF_ICON | (notifyData.szTip[0] != L'\0' ? NIF_TIP : 0u);
}

HICON TrayIcon::MakeDefaultIcon(const ScreenMetrics& metrics)
{
    WindowDc screen(nullptr);
    const COLORREF colour = greyFill ? greyFillColour : fillColour;
    const int width = ::MulDiv(baseIconSize, metrics.horizontalDpi, baseDpi);
    const int height = ::MulDiv(baseIconSize, metrics.verticalDpi, baseDpi);
    const int bitsPerPixel = screen ? ::GetDeviceCaps(screen.Get(), BITSPIXEL) : 32;
    if (width <= 0 || height <= 0)
        return nullptr;

    Bitmap bitmap(::CreateBitmap(width, height, 1, static_cast<UINT>(bitsPerPixel), nullptr));
    if (!bitmap)
        return nullptr;
    {
        const LOGBRUSH solid{BS_SOLID, colour, 0};
        Brush brush(::CreateBrushIndirect(&solid));
        MemoryDc memory(::CreateCompatibleDC(nullptr));
        Selection bitmapSelected(memory.Get(), bitmap.Get());
        Selection brushSelected(memory.Get(), brush.Get());
        const RECT whole{0, 0, width, height};
        ::FillRect(memory.Get(), &whole, brush.Get());
    }

    // Every pixel of the mask colour becomes transparent in the icon.
    ImageList list(::ImageList_Create(width, height, ILC_COLORDDB | ILC_MASK, 1, 0));
    if (!list)
        return nullptr;
    ::ImageList_AddMasked(list.get(), bitmap.Get(), greyFillColour);
    bitmap.Reset();
    return ::ImageList_GetIcon(list.get(), 0, ILD_TRANSPARENT);
}

HICON FindWindowIcon(HWND window)
{
    const auto smallIcon = reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    if (smallIcon)
        return ::CopyIcon(smallIcon);

    wchar_t executable[MAX_PATH];
    if (OwnerExecutable(window, executable)) {
        SHFILEINFOW info{};
        // With SHGFI_USEFILEATTRIBUTES the shell answers from the name alone: the small icon
        // of the file's type.
        if (::SHGetFileInfoW(executable, FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                             SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | SHGFI_SMALLICON) &&
            info.hIcon)
            return info.hIcon;
    }
    return ::CopyIcon(::LoadIconW(nullptr, IDI_QUESTION));
}
