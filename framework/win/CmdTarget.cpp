#include "framework/win/CmdTarget.h"

#include "framework/app/FaultGuard.h"

namespace {

// The innermost call being dispatched; nested messages stack through the
// saved pointer of each dispatch.
VaMsgCall* g_pCurrentCall = nullptr;

// The call is current for the scope's life; the one before comes back at
// its end, or from the guard of a fault that breaks the handler off, so that
// an outer handler's Default() forwards its own message again.
class CurrentCallScope
{
public:
    explicit CurrentCallScope(VaMsgCall* pCall)
    {
        m_hold.Hold(&Restore, reinterpret_cast<ULONG_PTR>(g_pCurrentCall));
        g_pCurrentCall = pCall;
    }
    CurrentCallScope(const CurrentCallScope&) = delete;
    CurrentCallScope& operator=(const CurrentCallScope&) = delete;

private:
    static void Restore(const ULONG_PTR* data) { g_pCurrentCall = reinterpret_cast<VaMsgCall*>(data[0]); }
    CFaultHold m_hold;
};

bool EntryMatches(const VaMsgMapEntry& e, const VaMsgCall& call, UINT nCode, BOOL bMatchId)
{
    if (e.pnRegisteredMsg != nullptr)
        return *e.pnRegisteredMsg != 0 && *e.pnRegisteredMsg == call.nMsg;
    if (e.nMessage != call.nMsg)
        return false;
    switch (call.nMsg)
    {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_REFLECT_BASE + WM_COMMAND:
    case WM_REFLECT_BASE + WM_NOTIFY:
        if (e.nCode != nCode)
            return false;
        break;
    default:
        break;
    }
    return !bMatchId || (call.nID >= e.nID && call.nID <= e.nLastID);
}

} // namespace

const CRuntimeClass CObject::classCObject = { "CObject", sizeof(CObject), nullptr, nullptr };
IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CObject* CRuntimeClass::CreateObject() const
{
    if (m_pfnCreateObject == nullptr)
        return nullptr;
    try
    {
        return m_pfnCreateObject();
    }
    catch (...)
    {
        // A throwing pool or constructor: the caller sees a failed creation.
        return nullptr;
    }
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* p = this; p != nullptr; p = p->m_pBaseClass)
        if (p == pBaseClass)
            return TRUE;
    return FALSE;
}

const CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &classCObject;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

const VaMsgMap* CCmdTarget::GetThisMessageMap()
{
    static const VaMsgMapEntry s_entries[] = { { 0, 0, 0, 0, nullptr, nullptr } };
    static const VaMsgMap s_map = { nullptr, s_entries };
    return &s_map;
}

const VaMsgMap* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

VaMsgCall* CCmdTarget::GetCurrentCall()
{
    return g_pCurrentCall;
}

void CCmdTarget::SetMsgHandled(BOOL bHandled)
{
    if (g_pCurrentCall != nullptr)
        g_pCurrentCall->bHandled = bHandled;
}

BOOL CCmdTarget::IsMsgHandled()
{
    return g_pCurrentCall != nullptr && g_pCurrentCall->bHandled;
}

BOOL CCmdTarget::DispatchToMap(VaMsgCall& call, UINT nCode, BOOL bMatchId,
                               VaCmdHandlerInfo* pHandlerInfo)
{
    for (const VaMsgMap* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr)
    {
        for (const VaMsgMapEntry* e = pMap->lpEntries; e->pfn != nullptr; ++e)
        {
            if (!EntryMatches(*e, call, nCode, bMatchId))
                continue;
            if (pHandlerInfo != nullptr)
            {
                pHandlerInfo->pTarget = this;
                return TRUE;
            }
            call.bHandled = TRUE;
            CurrentCallScope scope(&call);
            e->pfn(this, call);
            if (call.bHandled)
                return TRUE;
        }
    }
    return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, VaCmdHandlerInfo* pHandlerInfo)
{
    VaMsgCall call = {};
    call.nMsg = WM_COMMAND;
    call.wParam = MAKEWPARAM(nID, nCode);
    call.nID = nID;
    call.pExtra = pExtra;
    return DispatchToMap(call, static_cast<UINT>(nCode), TRUE, pHandlerInfo);
}
