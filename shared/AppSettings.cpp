#include "shared/AppSettings.h"


namespace {

// Constant-initialised: the application object may hand its record over
// during static initialisation, before any other global is constructed.
SettingsRecord* g_pAppSettings = nullptr;

} // namespace

SettingsRecord& AppSettings()
{
    if (g_pAppSettings != nullptr)
        return *g_pAppSettings;
    static SettingsRecord defaults;
    return defaults;
}

void SetAppSettings(SettingsRecord* record)
{
    g_pAppSettings = record;
}
