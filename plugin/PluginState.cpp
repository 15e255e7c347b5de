#include "plugin/PluginState.h"

CVaderurWnd* pluginInstance = nullptr;
