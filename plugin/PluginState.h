// The live plug-in object: created by GetPlugin, deleted by ReleasePlugin, which set this
// view of it. The entry points reach the object through it; it owns nothing.
#pragma once

class CVaderurWnd;

extern CVaderurWnd* pluginInstance;
