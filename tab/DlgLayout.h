// CDlgLayout: keeps each registered control of a resizable dialog at its
// distances from the dialog's edges, by the edges it follows, and moves
// them all in one batch when the dialog is resized.
#ifndef VA_TAB_DLGLAYOUT_H
#define VA_TAB_DLGLAYOUT_H

#include <vector>

#include "framework/win/Geometry.h"

class CDlgLayout
{
public:
    // Anchors: the edges a control follows.
    enum Anchor : DWORD
    {
        kLeft = 0x01,
        kRight = 0x02,
        kTop = 0x04,
        kBottom = 0x08,
        kKeepWidth = 0x10,   // move with the one horizontal edge set
        kKeepHeight = 0x20,  // move with the one vertical edge set
    };
    // Distances in all four fields of the rectangle: take them from where
    // the control is now (kFromPlace), or its left and top with right and
    // bottom 0 (kFromTopLeft).
    static constexpr LONG kFromPlace = static_cast<LONG>(0x80000000u);
    static constexpr LONG kFromTopLeft = 0x7FFFFFFF;

    virtual ~CDlgLayout() = default;

    // Stores (or replaces) the control's entry; anchors 0 removes it.
    // FALSE for a window that does not exist, an invalid anchor pair, a
    // control without parent for the special rectangles, or a removal of
    // nothing.
    bool AddControl(HWND hControl, const RECT& distances, DWORD anchors);
    // After the dialog's default WM_SIZE: every live control to its place.
    void OnSize(HWND hDialog);
    size_t GetCount() const { return m_entries.size(); }

private:
    struct Entry
    {
        HWND hControl;
        RECT distances;
        DWORD anchors;
    };
    std::vector<Entry> m_entries;
};

#endif // VA_TAB_DLGLAYOUT_H
