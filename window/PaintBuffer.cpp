#include "window/PaintBuffer.h"

HDC PaintBuffer::For(HDC screen, SIZE client)
{
    if (memory && bitmap && client.cx == size.cx && client.cy == size.cy)
        return memory.Get();
    selected.reset();
    bitmap = Bitmap();
    memory = MemoryDc(::CreateCompatibleDC(screen));
    if (memory && client.cx > 0 && client.cy > 0)
        bitmap = Bitmap(::CreateCompatibleBitmap(screen, client.cx, client.cy));
    if (!memory || !bitmap) {
        memory = MemoryDc();
        size = SIZE{};
        return nullptr;
    }
    selected = std::make_unique<Selection>(memory.Get(), bitmap.Get());
    size = client;
    return memory.Get();
}

HDC PaintBuffer::Begin(const PaintDc& paint, HWND window, RECT& area)
{
    if (::GetClipBox(paint.Get(), &area) == ERROR || ::IsRectEmpty(&area))
        return nullptr;
    RECT client{};
    ::GetClientRect(window, &client);
    return For(paint.Get(), {client.right, client.bottom});
}
