// CVantorelApp: the key and gesture bindings, run from the frame's and the
// page's key handling and from the gesture tracker.
#include "app/VantorelApp.h"

#include <windows.h>

#include "app/MainFrame.h"
#include "shared/BindingFile.h"
#include "shared/KeyText.h"

void CVantorelApp::LoadGestureMap()
{
    if (m_runFlags & kRunFlagGestureMapLoaded)
        return;
    m_runFlags |= kRunFlagGestureMapLoaded;
    std::vector<BindingFile::Line> lines;
    BindingFile::Read(GetProgramFolder(), "MGC.dat", "MGCDefault.dat", lines);
    m_gestureBindings.Load(lines);
}

void CVantorelApp::LoadKeyMap()
{
    if (m_runFlags & kRunFlagKeyMapLoaded)
        return;
    m_runFlags |= kRunFlagKeyMapLoaded;
    std::vector<BindingFile::Line> lines;
    BindingFile::Read(GetProgramFolder(), "KEYCONF.dat", "KEYCONFDefault.dat", lines);
    m_keyBindings.Load(lines);
}

void CVantorelApp::ReloadBindingMaps()
{
    m_runFlags &= ~static_cast<DWORD>(kRunFlagKeyMapLoaded | kRunFlagGestureMapLoaded);
    LoadKeyMap();
    LoadGestureMap();
}

BOOL CVantorelApp::PostBoundCommand(int command)
{
    if (command >= kCmdClosedTabFirst && command <= kCmdClosedTabLast) {
        // The n-th newest closed tab, whatever number its menu item has.
        const int number = g_pMainFrame != nullptr
                               ? g_pMainFrame->m_closedTabs.GetIdAt(command - kCmdClosedTabFirst)
                               : -1;
        if (number < 0)
            return FALSE;
        command = kCmdClosedTabFirst + number;
    }
    HWND main = m_pMainWnd != nullptr ? m_pMainWnd->GetSafeHwnd() : nullptr;
    return main != nullptr &&
           ::PostMessageA(main, WM_COMMAND, static_cast<WPARAM>(static_cast<WORD>(command)), 0);
}

BOOL CVantorelApp::ExecuteKeyBinding(const CString& text, MSG* pMsg)
{
    // Modifiers alone ("Ctrl+") never run a binding.
    const int length = text.GetLength();
    if (length == 0 || text.ReverseFind('+') == length - 1)
        return FALSE;
    const CBindingMap::Binding* binding = m_keyBindings.Find(text);
    if (binding == nullptr)
        return FALSE;
    if (binding->kind == BindingFile::kKindKeyEvent) {
        // The key goes on as the bound key.
        if (pMsg != nullptr)
            pMsg->wParam = static_cast<WPARAM>(binding->command);
        return FALSE;
    }
    return PostBoundCommand(binding->command);
}

void CVantorelApp::ExecuteGesture(const CString& gesture)
{
    const CBindingMap::Binding* binding = m_gestureBindings.Find(gesture);
    if (binding == nullptr)
        return;
    if (binding->kind == BindingFile::kKindKeyEvent) {
        const BYTE vk = static_cast<BYTE>(binding->command);
        ::keybd_event(vk, 0, 0, 0);
        ::keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
        return;
    }
    PostBoundCommand(binding->command);
}

void CVantorelApp::GetShortcutText(int command, CString& text)
{
    if (!m_settings.bMenuShortCutKey()) {
        text.Empty();
        return;
    }
    LoadKeyMap();
    const CString* shortcut = m_keyBindings.FindShortcut(command);
    if (shortcut != nullptr && !shortcut->IsEmpty())
        text = *shortcut;
}

CString CVantorelApp::FormatKey(UINT vk) const
{
    return FormatKeyText(vk, m_keyboardType);
}
