// The overflow popup of a toolbar band: the buttons that have no room, in a
// small topmost window run like a menu (own modal loop, mouse capture and a
// thread keyboard hook) until a button is chosen, Esc or Alt, or a click
// elsewhere.
//
// Classes in this file:
//   CToolBarPopup   one showing of a toolbar's hidden buttons
#ifndef VA_BARS_TOOLBARPOPUP_H
#define VA_BARS_TOOLBARPOPUP_H

#include "framework/win/ToolBarCtrl.h"

class CToolBarEx;

#define WM_TOOLBARPOPUP_CLOSE (WM_USER + 101)

//--- CToolBarPopup
class CToolBarPopup : public CWnd
{
public:
    CToolBarPopup(CToolBarEx* pSource, int textMode);
    ~CToolBarPopup() override;

    // Flags as TrackPopupMenu's: 4 centre on x, 8 right edge at x, 0x10
    // centre on y, 0x20 bottom edge at y, TPM_VERTICAL: dodge exclude above
    // or below (else left or right). TRUE once shown and closed; FALSE when
    // no button qualified or the window could not be made.
    BOOL TrackPopup(UINT flags, int x, int y, const RECT& exclude);

    // Where a popup of size lands for the flags, kept on the desktop and off
    // exclude.
    static CRect PlacePopup(CSize size, UINT flags, int x, int y, const RECT& exclude, const RECT& desktop);

    HWND m_hCommandTarget = nullptr;  // chosen commands go here (the main frame), not to the source
    bool m_dropDownArrows = true;

    CToolBarCtrl& GetToolBar() { return m_bar; }

protected:
    BOOL FillButtons();
    void Close() { PostMessage(WM_TOOLBARPOPUP_CLOSE); }
    // Handles a key press; every key message is eaten while tracking.
    void OnKey(UINT vk);
    void MoveHot(int step);
    void RunModalLoop();
    CToolBarEx* Source() const;

    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnMouse(UINT nMsg, WPARAM wParam, LPARAM lParam);

    CToolBarEx* m_pSource;
    HWND m_hSource;  // the source is looked up by it after any dispatch
    int m_textMode;
    bool m_showTexts;
    bool m_inside = false;
    bool m_looping = false;
    CToolBarCtrl m_bar;
};

#endif // VA_BARS_TOOLBARPOPUP_H
