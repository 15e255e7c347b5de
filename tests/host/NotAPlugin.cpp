// A DLL that is no plug-in: it exports a function, but not GetPlugin. For the host's tests.
#include <windows.h>

extern "C" __declspec(dllexport) int NotAPluginVersion()
{
    return 1;
}
