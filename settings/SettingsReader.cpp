#include "settings/SettingsReader.h"

#include "settings/IniText.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsParsing.h"

const char16_t defaultSettingsText[] =
    u"[Zentrix Vaderur]\n"
    u"GraphWidth=792;\n"
    u"GraphHeight=214;\n"
    u"BGColor=000000;\n"
    u"FrameColor=00F0F0;\n"
    u"GraphColor=0000F0;\n"
    u"GridColor=00004F;\n"
    u"LoadGraphColor=0x00F000;\n"
    u"MessageColor=F0F000;\n"
    u"TextColor=FFFFFF;\n"
    u"TitleColor=FFFFFF;\n"
    u"XAxisColor=007070;\n"
    u"ShowXAxis=1; 0 = Hide X Axis, 1 = Show X Axis.\n"
    u"ShowSyatrayIcon=0;\n"
    u"StartMinimized=0;\n"
    u"RangeMax=0; 0 = Default, uses TjMax value for Intel and 100C for AMD;\n"
    u"RangeMin=0;\n"
    u"\n"
    u"[General]\n"
    u"PollInterval=1; = in seconds, can use float values.\n"
    u"LogInterval=0; = in minutes, 0 = off. Must be an integer value.\n"
    u"Transparency=0; Pick a value between 0 and 255. 0 = no transparency, 255 = full transparency.\n"
    u"AlwaysOnTop=0; 0 = off, 1 = on.\n"
    u"\n";

std::unique_ptr<GraphSettings> ReadSettings(WindowOptions* options, uint32_t tjMax)
{
    IniText ini;
    auto settings = std::make_unique<GraphSettings>();
    // No text means the file could not be opened (an empty file gives an empty text and is
    // kept): write the default text, but never over a file that exists and is merely unreadable.
    if (!ini.text) {
        CreateSettingsFile(defaultSettingsText);
        ini.Load();
    }
    settings->Size = graphSettingsSize;
    ParseSettings(ini.text, tjMax, *settings, options);
    return settings;
}

MetricsOptions ReadMetricsOptions()
{
    const IniText ini;
    return ParseMetricsOptions(ini.text);
}
