// The OLE, WebBrowser and document-host headers as the framework includes
// them, and what mingw-w64 leaves out of them.
//
// mingw-w64 declares ITravelLogStg, IEnumTravelLogEntry, ITravelLogEntry,
// IDocHostShowUI and the command group CGID_DocHostCommandHandler, but its
// uuid library has no definitions of their identifiers; OleCompat.cpp
// defines them (values from the published interface definitions).
#ifndef VA_FRAMEWORK_OLE_OLECOMPAT_H
#define VA_FRAMEWORK_OLE_OLECOMPAT_H

#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <ocidl.h>
#include <oleauto.h>
#include <servprov.h>
#include <docobj.h>
#include <exdisp.h>
#include <exdispid.h>
#include <mshtmhst.h>
#include <mshtmdid.h>
#include <tlogstg.h>

#ifndef DISPID_AMBIENT_DLCONTROL
#define DISPID_AMBIENT_DLCONTROL (-5512)
#endif

#endif // VA_FRAMEWORK_OLE_OLECOMPAT_H
