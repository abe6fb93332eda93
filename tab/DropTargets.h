// The program's drop targets.
//
// Classes in this file:
//   CFrameDropTarget  the main frame window: text and links open or search,
//                     files go to the frame as WM_DROPFILES
//   CPageDropTarget   in front of a page's own drop handling: with
//                     "bSuperDnD" dragged text searches with the engine of
//                     the drag's direction
#ifndef VA_TAB_DROPTARGETS_H
#define VA_TAB_DROPTARGETS_H

#include <string>
#include <vector>

#include "framework/core/CString.h"
#include "framework/ole/OleDropTarget.h"

struct IHTMLDocument2;

// Drop modes of WM_FRAME_DROPTEXT: none, then the drag's direction.
enum DropMode : int
{
    kDropNone = 1,
    kDropUp = 2,
    kDropRight = 4,
    kDropDown = 8,
    kDropLeft = 16,
};

// The drop mode of a movement (dx right, dy down, in pixels): the sector
// its gesture arrow would have.
int DropModeOfMove(int dx, int dy);

// The text the data offers as CF_TEXT, else as a "UniformResourceLocator";
// false when it offers neither.
bool ReadDroppedText(IDataObject* pData, CString& text);

// The element at (x, y) of the document, or of one of its frames with the
// frame's Left and Top taken off the point, takes typed text or is an
// OBJECT element.
bool IsDropOnEditable(IHTMLDocument2* pDoc, long x, long y, int depth = 0);

//--- CFrameDropTarget
class ITabHost;

class CFrameDropTarget : public COleDropTarget
{
public:
    explicit CFrameDropTarget(HWND hOwner = nullptr) : m_hOwner(hOwner) {}
    void SetOwner(HWND hOwner) { m_hOwner = hOwner; }

protected:
    ~CFrameDropTarget() override = default;

public:
    DWORD OnDragEnter(IDataObject* pData, DWORD dwKeyState, POINTL pt, DWORD dwAllowed) override;
    DWORD OnDragOver(IDataObject* pData, DWORD dwKeyState, POINTL pt, DWORD dwAllowed) override;
    DWORD OnDrop(IDataObject* pData, DWORD dwKeyState, POINTL pt, DWORD dwAllowed) override;

private:
    HWND m_hOwner;
    DWORD m_enterEffect = DROPEFFECT_NONE;
};

//--- CPageDropTarget
class CPageDropTarget : public COleDropTarget
{
public:
    // host: the frame of the view whose page it serves.
    explicit CPageDropTarget(ITabHost* host = nullptr) : m_pHost(host) {}

    // The page's own target, the first one the control offers (held).
    void OfferPageTarget(IDropTarget* pTarget);
    // Lets the page's target go (the view is going).
    void ForgetPageTarget();
    IDropTarget* GetPageTarget() const { return m_pPageTarget; }
    int GetDropMode() const { return m_dropMode; }

    DWORD OnDragEnter(IDataObject* pData, DWORD dwKeyState, POINTL pt, DWORD dwAllowed) override;
    DWORD OnDragOver(IDataObject* pData, DWORD dwKeyState, POINTL pt, DWORD dwAllowed) override;
    void OnDragLeave() override;
    DWORD OnDrop(IDataObject* pData, DWORD dwKeyState, POINTL pt, DWORD dwAllowed) override;

protected:
    ~CPageDropTarget() override { ForgetPageTarget(); }

private:
    // One effect the source allows: copy, or link when only link is.
    static DWORD OneEffect(DWORD dwAllowed);
    void ShowDirection(int mode);
    // unreachable receives the dropped names that no path reaches, for the
    // caller to name once this target's state is done with.
    DWORD ProgramDrop(IDataObject* pData, DWORD dwAllowed, std::vector<std::wstring>& unreachable);
    void Reset();
    ITabHost& Host() const;

    ITabHost* m_pHost = nullptr;
    POINT m_start = {0, 0};
    int m_dropMode = kDropNone;
    bool m_bLinkOffered = false;
    bool m_bPageEntered = false;
    IDropTarget* m_pPageTarget = nullptr;
};

#endif // VA_TAB_DROPTARGETS_H
