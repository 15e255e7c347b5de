// Keeps GDI+ started for as long as a test reads or writes pictures itself.
#pragma once

#include <windows.h>
#include <objidl.h>  // GDI+ needs it and WIN32_LEAN_AND_MEAN leaves it out
#include <gdiplus.h>

namespace testsupport {

class GdiplusSession {
public:
    GdiplusSession()
    {
        Gdiplus::GdiplusStartupInput input;
        if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
            token = 0;
    }
    ~GdiplusSession()
    {
        if (token)
            Gdiplus::GdiplusShutdown(token);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool Started() const { return token != 0; }

private:
    ULONG_PTR token = 0;
};

}  // namespace testsupport
