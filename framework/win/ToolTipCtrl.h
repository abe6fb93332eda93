// CToolTipCtrl: the tool-tip common control, with windows as tools.
#ifndef VA_FRAMEWORK_WIN_TOOLTIPCTRL_H
#define VA_FRAMEWORK_WIN_TOOLTIPCTRL_H

#include "framework/win/Wnd.h"

class CToolTipCtrl : public CWnd
{
public:
    static LPCSTR GetWndClassName() { return TOOLTIPS_CLASSA; }

    // A top-level tip window owned by pParentWnd's window (null: no owner).
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0)
    {
        return CreateEx(WS_EX_TOPMOST, GetWndClassName(), nullptr, WS_POPUP | TTS_NOPREFIX | dwStyle,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                        pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, nullptr);
    }

    // The window as a tool with the text; a window that is a tool already
    // gets the new text.
    BOOL AddTool(HWND hWndTool, LPCSTR lpszText)
    {
        TOOLINFOA ti = MakeToolInfo(hWndTool);
        ti.lpszText = const_cast<LPSTR>(lpszText);
        TOOLINFOA existing = MakeToolInfo(hWndTool);
        if (SendMessage(TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&existing)))
        {
            SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
            return TRUE;
        }
        return (BOOL)SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
    void DelTool(HWND hWndTool)
    {
        TOOLINFOA ti = MakeToolInfo(hWndTool);
        SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
    int GetToolCount() const { return (int)::SendMessageA(m_hWnd, TTM_GETTOOLCOUNT, 0, 0); }
    // The tool text of a window, empty when it is no tool.
    CString GetText(HWND hWndTool) const
    {
        char text[1024] = {};
        TOOLINFOA ti = MakeToolInfo(hWndTool);
        ti.lpszText = text;
        ::SendMessageA(m_hWnd, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&ti));
        return CString(text);
    }
    int SetMaxTipWidth(int nWidth) { return (int)SendMessage(TTM_SETMAXTIPWIDTH, 0, nWidth); }
    int GetMaxTipWidth() const { return (int)::SendMessageA(m_hWnd, TTM_GETMAXTIPWIDTH, 0, 0); }
    // Mouse messages of a tool, passed on so that the tip shows and hides.
    void RelayEvent(MSG* pMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg)); }

private:
    TOOLINFOA MakeToolInfo(HWND hWndTool) const
    {
        TOOLINFOA ti = {};
        // The size every comctl32 version knows.
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        ti.uFlags = TTF_IDISHWND;
        ti.hwnd = ::GetParent(hWndTool) != nullptr ? ::GetParent(hWndTool) : hWndTool;
        ti.uId = reinterpret_cast<UINT_PTR>(hWndTool);
        return ti;
    }
};

#endif // VA_FRAMEWORK_WIN_TOOLTIPCTRL_H
