// Start-up settings of the shared browser components that the main frame
// makes for this process: the user agent, the browser-emulation feature
// values in the registry, the WinInet connection limits and the URL-moniker
// features for tabbed browsing.
#ifndef VA_APP_BROWSERFEATURES_H
#define VA_APP_BROWSERFEATURES_H

#include "framework/core/CString.h"

namespace BrowserFeatures {

// What the feature-control values become for an installed browser version.
struct EmulationChoice
{
    bool write = false;          // no change for versions outside 8..10
    DWORD emulation = 0;         // FEATURE_BROWSER_EMULATION
    bool legacyScriptOff = false;  // FEATURE_USE_LEGACY_JSCRIPT = 0 as well
};
EmulationChoice ChooseEmulation(double version);

// Writes the feature-control values under HKEY_CURRENT_USER for the value
// name className + ".exe". Keys that cannot be created are skipped.
void WriteEmulationValues(const CString& className, const EmulationChoice& choice);

// Connection limits below the given floors are raised process-wide.
struct ConnectionLimits
{
    DWORD perServer;
    DWORD perOldServer;
};
ConnectionLimits RaisedConnectionLimits(ConnectionLimits current);
void RaiseConnectionLimits();

void EnableUrlMonikerFeatures();
void SetUserAgent(const CString& userAgent);

// The system's user-agent string, empty when it cannot be had.
CString GetSystemUserAgent();

} // namespace BrowserFeatures

#endif // VA_APP_BROWSERFEATURES_H
