// The drop-down combo boxes of the main window: the flat-look combo classes
// and the address and search boxes built on them. The boxes turn Enter, Esc
// and list choices into messages to the main frame.
//
// Classes in this file:
//   CHoverFrame      repaints a combo when the mouse comes onto it or leaves
//   CComboEditXP     the combo's edit, passing the mouse to the hover helper
//   CComboBoxXP      a drop-down combo with a seven-item list and its edit
//   CComboBoxEX_XP   the same for the search box (leaves the IME alone)
//   CAddressCombo    the address box
//   CSearchCombo     the search box
#ifndef VA_BARS_COMBOBOXXP_H
#define VA_BARS_COMBOBOXXP_H

#include "framework/app/FaultGuard.h"
#include "framework/win/ComboBox.h"
#include "framework/win/Edit.h"

class IBarHost;

//--- CHoverFrame
class CHoverFrame
{
public:
    enum Repaint : DWORD { kInvalidate = 1, kFrameChanged = 2 };

    void Attach(HWND hOwner, DWORD repaint)
    {
        m_hOwner = hOwner;
        m_repaint = repaint;
    }
    bool IsAttached() const { return m_hOwner != nullptr; }
    bool IsHovering() const { return m_hovering; }
    // The mouse over the owner or its edit (hWnd).
    void OnMouseMove(HWND hWnd);
    // The tracked window lost the mouse.
    void OnMouseLeave(HWND hWnd);

private:
    void Repaint();

    HWND m_hOwner = nullptr;
    HWND m_hTracked = nullptr;
    DWORD m_repaint = 0;
    bool m_hovering = false;
};

class CComboBoxXP;

//--- CComboEditXP
// The address box's edit also closes the input method while it has the
// keyboard and opens it again when it leaves (the search box's edit leaves
// it alone).
class CComboEditXP : public CEdit
{
public:
    CComboBoxXP* m_pCombo = nullptr;

protected:
    void OnMouseMove(UINT nFlags, CPoint point);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);

    bool m_imeWasOpen = false;

    DECLARE_MESSAGE_MAP()
};

//--- CComboBoxXP
class CComboBoxXP : public CComboBox
{
    friend class CComboEditXP;
public:
    static constexpr int kListItems = 7;

    // The combo with the GUI font and its edit subclassed; FALSE when the
    // window could not be made.
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID);
    // A combo made elsewhere (a dialog's): the hover helper and the edit as
    // Create gives them, and a drop-down extent of 100 pixels.
    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    CEdit& GetEdit() { return m_edit; }
    const CEdit& GetEdit() const { return m_edit; }
    CHoverFrame& GetHover() { return m_hover; }

    // Both set by the frame that owns the box; a box without them (a
    // dialog's) leaves the keys to itself.
    CWnd* m_pOwnerFrame = nullptr;  // hears Enter and list choices
    IBarHost* m_pHost = nullptr;    // the active tab and page

protected:
    static constexpr int kSubclassedHeight = 100;

    // The hover helper (by the menu style) and the edit of a combo window.
    void AttachParts();
    // Enter and Esc common to every box; TRUE when the key was taken.
    BOOL OnBoxKey(UINT vk);
    // The active page gets the keyboard (the frame's rule).
    void FocusActivePage();

    LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);
    LRESULT OnWindowPosChanging(WPARAM wParam, LPARAM lParam);
    LRESULT OnWindowPosChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
    void OnSetFocus(CWnd* pOldWnd);
    BOOL OnSelEndOk();
    void OnMouseMove(UINT nFlags, CPoint point);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    // The mouse goes to the hover helper: always for the search box, for
    // the others only while the menu style asks for the flat look.
    virtual bool PassesHover() const;
    // The input method stays as the user left it.
    virtual bool KeepsIme() const { return false; }

    int m_fieldHeight = -1;      // the selection field's height, read once
    int m_requestedHeight = -1;  // the height the box was last laid out with
    int m_fieldSet = -1;         // the field height last given to the control
    bool m_settingField = false; // while the control takes a new field height
    bool m_fitting = false;      // from a layout request until the control has sized itself
    CFaultHold m_fit;            // ends the fit (m_fitting) while it lasts
    int m_changedDepth = 0;      // nested WM_WINDOWPOSCHANGED of the control's own resizes
    bool m_making = false;       // inside Create: the control sizes itself, nobody lays it out
    CComboEditXP m_edit;
    CHoverFrame m_hover;

    DECLARE_MESSAGE_MAP()
};

//--- CComboBoxEX_XP
class CComboBoxEX_XP : public CComboBoxXP
{
protected:
    void OnSetFocus(CWnd* pOldWnd);
    bool PassesHover() const override { return true; }
    bool KeepsIme() const override { return true; }

    DECLARE_MESSAGE_MAP()
};

//--- CAddressCombo
class CAddressCombo : public CComboBoxXP
{
public:
    static constexpr UINT kId = 59395;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    bool m_autoCompletePending = true;

protected:
    // The shell's URL completion on the first key press, when asked for.
    void AttachAutoComplete();
    BOOL OnSelEndOk();

    DECLARE_MESSAGE_MAP()
};

//--- CSearchCombo
class CSearchCombo : public CComboBoxEX_XP
{
public:
    static constexpr UINT kId = 59400;
    static constexpr UINT kCmdRunSearch = 36804;

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnSelEndOk();

    DECLARE_MESSAGE_MAP()
};

#endif // VA_BARS_COMBOBOXXP_H
