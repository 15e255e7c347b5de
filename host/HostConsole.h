// The host's text output: its console, or whatever stdout and stderr were redirected to
// (written as UTF-8 then). Free functions; nothing is owned.
#pragma once

#include <string>

// Writes text as it stands to stdout.
void PrintOut(const std::wstring& text);
// Writes "zentrix-host: " + text + a line end to stderr.
void PrintError(const std::wstring& text);

std::wstring WidenUtf8(const std::string& utf8);
// The system's text for a Win32 error code, without its line end, with the code appended.
// The file's name (the path's last part) fills the text's "%1"; the other inserts, and "%1"
// when no file is given, are left out.
std::wstring SystemErrorText(unsigned long code, const std::wstring& file = {});
