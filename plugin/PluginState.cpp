#include "plugin/PluginState.h"

CVaderurWnd* pluginInstance = nullptr;
CZiveVazudEx** graphList = nullptr;
uint32_t graphCount = 0;
HWND mainWindow = nullptr;
wchar_t windowTitle[100] = {};
wchar_t windowClassName[100] = {};
