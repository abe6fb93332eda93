// The settings record of the process, for code below the application: tabs,
// bars and lists read and change the options through AppSettings() instead of
// reaching up into the application object. The application owns the record
// and hands it over when it is constructed. The dialogs library works on the
// record its exports are handed and does not use this.
#ifndef VA_SHARED_APPSETTINGS_H
#define VA_SHARED_APPSETTINGS_H

#include "shared/SettingsRecord.h"

// The record handed over by the application; until then (and in programs
// without the application) a record of the defaults.
SettingsRecord& AppSettings();

// The application's own record from now on; null goes back to the defaults
// (the application hands its record back as it is destroyed).
void SetAppSettings(SettingsRecord* record);

#endif // VA_SHARED_APPSETTINGS_H
