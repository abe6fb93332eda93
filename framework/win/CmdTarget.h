// The roots of the framework's object model.
//
// Classes in this file:
//   CRuntimeClass   a class's name, base and creation function
//   CObject         root with run-time class information
//   CCmdTarget      an object with a message map that commands are routed to
//
// Run-time creation: DECLARE_DYNCREATE(CMyView) in the class and
// IMPLEMENT_DYNCREATE(CMyView, CView) in its .cpp let
// RUNTIME_CLASS(CMyView)->CreateObject() make an object with the class's own
// operator new. A pooled operator new that may return null must be declared
// noexcept: the new-expression then yields null without running the
// constructor, and CreateObject returns null. CreateObject also returns null
// when allocation or construction throws.
#ifndef VA_FRAMEWORK_WIN_CMDTARGET_H
#define VA_FRAMEWORK_WIN_CMDTARGET_H

#include "framework/win/MessageMap.h"
#include "framework/win/WinDefs.h"

class CObject;

//--- CRuntimeClass
struct CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)();  // null: not creatable at run time
    const CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

#define RUNTIME_CLASS(className) (&className::class##className)

#define DECLARE_DYNAMIC(className)                         \
public:                                                    \
    static const CRuntimeClass class##className;           \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(className) \
    DECLARE_DYNAMIC(className)       \
    static CObject* CreateObject();

#define IMPLEMENT_DYNAMIC(className, baseClassName)                                 \
    const CRuntimeClass className::class##className = {                             \
        #className, sizeof(className), nullptr, RUNTIME_CLASS(baseClassName) };     \
    const CRuntimeClass* className::GetRuntimeClass() const { return RUNTIME_CLASS(className); }

#define IMPLEMENT_DYNCREATE(className, baseClassName)                               \
    CObject* className::CreateObject() { return new className; }                    \
    const CRuntimeClass className::class##className = {                             \
        #className, sizeof(className), &className::CreateObject,                    \
        RUNTIME_CLASS(baseClassName) };                                             \
    const CRuntimeClass* className::GetRuntimeClass() const { return RUNTIME_CLASS(className); }

//--- CObject
class CObject
{
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

// Asked of OnCmdMsg instead of running a handler: who would handle it.
struct VaCmdHandlerInfo
{
    CCmdTarget* pTarget;
};

//--- CCmdTarget
class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // Looks the command up in this object's map chain: nCode is CN_COMMAND, a
    // control notification code or CN_UPDATE_COMMAND_UI (pExtra: the CCmdUI).
    // With pHandlerInfo, only reports whether a handler exists. Derived
    // targets extend it to route on to other targets.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, VaCmdHandlerInfo* pHandlerInfo);

    // Inside a handler: FALSE passes the message on (see MessageMap.h).
    static void SetMsgHandled(BOOL bHandled);
    static BOOL IsMsgHandled();

protected:
    static const VaMsgMap* GetThisMessageMap();
    virtual const VaMsgMap* GetMessageMap() const;

    // Runs the handlers of this object's map chain that match the message (and
    // for WM_COMMAND, WM_NOTIFY and reflected ones the code and id in call)
    // until one keeps the call handled. With pHandlerInfo only finds one.
    BOOL DispatchToMap(VaMsgCall& call, UINT nCode, BOOL bMatchId,
                       VaCmdHandlerInfo* pHandlerInfo = nullptr);

    // The call being dispatched on this thread, or null.
    static VaMsgCall* GetCurrentCall();
};

#endif // VA_FRAMEWORK_WIN_CMDTARGET_H
