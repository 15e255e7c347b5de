#include "window/WindowClass.h"

#include "core/TextFormat.h"
#include "resources/resource.h"

#include <cwchar>

namespace {
constexpr wchar_t titleSuffix[] = L" - 64bit";
}  // namespace

WindowClass::~WindowClass()
{
    if (instance)
        ::UnregisterClassW(name, instance);
}

void WindowClass::Register(HINSTANCE module, WNDPROC procedure, int extraBytes)
{
    title[0] = L'\0';
    name[0] = L'\0';
    ::LoadStringW(module, IDS_APP_TITLE, title, textCapacity);
    ::LoadStringW(module, IDC_MOLTAVIS, name, textCapacity);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.cbWndExtra = extraBytes;
    windowClass.hInstance = module;
    windowClass.hIcon = ::LoadIconW(module, MAKEINTRESOURCEW(IDI_VADERUR));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
    windowClass.lpszClassName = name;
    windowClass.hIconSm = ::LoadIconW(module, MAKEINTRESOURCEW(IDI_VADERUR));
    ::RegisterClassExW(&windowClass);
    instance = module;
    textformat::Append(titleSuffix, title, std::wcslen(title), textCapacity);
}
