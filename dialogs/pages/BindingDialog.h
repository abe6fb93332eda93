// The key and gesture dialogs: one binding, a shortcut or gesture text and
// one command of the command catalogue "Vantorelcom.def".
//
// Classes in this file:
//   CBindingDialog      what both dialogs share: the command tree, the
//                       placement beside the owning list, the duplicate
//                       question, OK's checks
//   CKeyCaptureEdit     an edit that shows the shortcut text of the keys
//                       pressed instead of typing them
//   CDlgKeyCustom       the key dialog (template 248)
//   CGesturePad         a frame that turns a right-button stroke into arrows
//   CDlgGestureSetting  the gesture dialog (template 245)
#ifndef VA_DIALOGS_PAGES_BINDINGDIALOG_H
#define VA_DIALOGS_PAGES_BINDINGDIALOG_H

#include <memory>
#include <vector>

#include "framework/core/File.h"
#include "framework/dialog/Dialog.h"
#include "framework/win/Edit.h"
#include "framework/win/ImageList.h"
#include "framework/win/ListCtrl.h"
#include "framework/win/TreeCtrl.h"

// One command of the catalogue.
struct CommandEntry
{
    unsigned char kind = 0;  // 0 a command id, 1 a virtual-key code
    int id = 0;
    CString label;
};

// Reads the catalogue's lines from the file into the tree under hParent,
// up to the "ENDFOLDER:" that closes this scope (nDepth > 0: a "FOLDER:"
// opened it) or the file's end; every
// entry goes to entries and its item's data points at it. Items whose id is
// nSelectId (when bSelect) are selected as they come, the last one staying.
// true when an "ENDFOLDER:" closed the scope; false at the file's end or
// when a top-level "ENDFOLDER:" ended the whole load.
bool ParseCommandFolder(CStdioFile& file, HWND hTree, HTREEITEM hParent,
                        std::vector<std::unique_ptr<CommandEntry>>& entries, bool bSelect, int nSelectId,
                        int nDepth);
// The whole catalogue into the tree's root.
void LoadCommandTree(CStdioFile& file, HWND hTree, std::vector<std::unique_ptr<CommandEntry>>& entries,
                     bool bSelect, int nSelectId);

class CBindingDialog : public CDialog
{
public:
    // In: set by the opening page. Out: read after IDOK.
    CListCtrl* m_pList = nullptr;  // the owning list
    int m_nEditedRow = -1;         // the row being edited, -1 for a new one;
                                   // moved up when a row above it goes
    CString m_strText;             // shortcut or gesture text
    CString m_strLabel;            // command label
    bool m_bHasCommand = false;    // a preset command id
    int m_nCommand = 0;
    int m_nKind = 0;
    int m_nContinuous = 0;         // in: 0 off, 1 on, 2 hidden; out: 1 or 0
    bool m_bPositionKnown = false;
    RECT m_rcWindow = {};          // in: where to open; out: where OK was pressed

    // The row of the owning list that holds text, other than the edited
    // row; -1 for none.
    int FindDuplicateRow(const CString& text) const;
    // The duplicate question: true to go on (no duplicate, or Yes); the row
    // to delete, -1 for none.
    bool CheckDuplicateBinding(const CString& text, int& nDeleteRow);

protected:
    CBindingDialog(UINT nIDTemplate, int nTextID);

    BOOL OnInitDialog() override;
    void OnOK() override;
    // The text of the binding control as OK takes it.
    virtual CString ReadBindingText();

    DECLARE_MESSAGE_MAP()
    void OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnReset();
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);

    // Keeps the dialog's rectangle inside the work area of its monitor.
    void PlaceWindow();
    // Placed beside the owning list or at the carried-over rectangle, even
    // where that is where the system opened it; centred only without either.
    BOOL CheckAutoCenter() override;
    const CommandEntry* SelectedEntry() const;

    int m_nTextID;
    CString m_strPresetText;
    CString m_strPresetLabel;
    CTreeCtrl m_tree;
    CImageList m_images;
    std::vector<std::unique_ptr<CommandEntry>> m_entries;
};

class CKeyCaptureEdit : public CEdit
{
public:
    CKeyCaptureEdit();
    int m_nKeyboardType;  // 101, 106 or 0

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    DECLARE_MESSAGE_MAP()
    void OnSetFocus(CWnd* pOldWnd);
    void OnContextMenu(CWnd* pWnd, CPoint pt);
};

class CDlgKeyCustom : public CBindingDialog
{
public:
    CDlgKeyCustom();

protected:
    BOOL OnInitDialog() override;
    CKeyCaptureEdit m_edit;
};

// The angle of a stroke's step in whole degrees, 0 right, counter-clockwise
// (dy grows upwards): the one angle rule of the frame's gestures and drags.
int StrokeAngle(int dx, int dy);

// A stroke as it is drawn: the arrows so far and where the last counted
// step ended.
struct StrokeState
{
    CString gesture;
    CString lastArrow;
    POINT anchor = {};
    DWORD lastTick = 0;
};

// The gesture arrows' repeat time: the same arrow again counts only after it.
const DWORD kStrokeRepeatMs = 120;

// One mouse position of a stroke (screen coordinates) at tick now: a move
// shorter than nSensitivity is ignored; otherwise the anchor moves there and
// its arrow is appended unless it repeats the last arrow within the repeat
// time. true when an arrow was appended.
bool StrokeStep(StrokeState& state, POINT pt, DWORD now, int nSensitivity);

// The pad of the gesture dialog: a right-button stroke on it draws arrows
// into the dialog's gesture text.
class CGesturePad : public CWnd
{
public:
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Follows the right button from the message's point until the stroke
    // ends, appending arrows to the gesture text.
    void TrackGesture(const MSG& down);
};

class CDlgGestureSetting : public CBindingDialog
{
public:
    CDlgGestureSetting();
    // Appends an arrow (or removes the last one for an empty text).
    void AddArrow(const char* arrow);

protected:
    BOOL OnInitDialog() override;
    CString ReadBindingText() override;

    DECLARE_MESSAGE_MAP()
    void OnArrow(UINT nID);
    void OnBackSpace();
    void OnClear();

    CGesturePad m_pad;
};

#endif // VA_DIALOGS_PAGES_BINDINGDIALOG_H
