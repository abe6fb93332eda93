// CAnchorLayout: child controls that follow a resizable window's edges.
//
// Each registered control keeps its distances to the client edges it is
// anchored to; Relayout (from the owner's WM_SIZE) moves every control in
// one deferred batch, so the window repaints once.
#ifndef VA_DIALOGS_CORE_ANCHORLAYOUT_H
#define VA_DIALOGS_CORE_ANCHORLAYOUT_H

#include <vector>

#include "framework/win/Wnd.h"

class CAnchorLayout
{
public:
    // Anchor bits. An anchored edge keeps its distance to the same client
    // edge; keep width or height moves the opposite edge along.
    enum : UINT {
        kLeft = 0x01,
        kRight = 0x02,
        kTop = 0x04,
        kBottom = 0x08,
        kKeepWidth = 0x10,
        kKeepHeight = 0x20,
    };
    // Offsets that say "measure from the control's place": all four sides
    // from it, or left and top from it with right and bottom 0.
    static const RECT kMeasure;
    static const RECT kMeasureTouchEdges;

    virtual ~CAnchorLayout() = default;

    // Registers (or re-registers) a control of a live window with its
    // offsets (left, top, right, bottom distances); flags 0 removes it.
    // FALSE for a dead control, a control without parent when measuring,
    // a removal of a control not registered, and the combinations
    // left + right + keep width and top + bottom + keep height.
    bool AddControl(CWnd* pControl, const RECT& offsets, UINT flags);
    bool AddControl(CWnd* pControl, UINT flags) { return AddControl(pControl, kMeasure, flags); }
    // Moves every control for the owner's current client size.
    void Relayout(CWnd* pOwner) const;

    int GetCount() const { return static_cast<int>(m_entries.size()); }

private:
    struct Entry
    {
        HWND hWnd;
        RECT offsets;
        UINT flags;
    };
    std::vector<Entry> m_entries;
};

#endif // VA_DIALOGS_CORE_ANCHORLAYOUT_H
