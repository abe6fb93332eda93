// The search bar band: the search box on its left, then run search, one
// button per engine marked for the bar, keyword highlight and find in page.
//
// Classes in this file:
//   CSearchBar   the rebar's search band
#ifndef VA_BARS_SEARCHBAR_H
#define VA_BARS_SEARCHBAR_H

#include "bars/ComboBoxXP.h"
#include "bars/ToolBarEx.h"
#include "framework/ole/OleDropTarget.h"

class CSearchBar;
class CSearchEngineTree;

//--- CSearchBarDropTarget
// Text dropped on the search bar goes into the search box and runs the
// command of the button under the drop (the search itself elsewhere).
class CSearchBarDropTarget : public COleDropTarget
{
public:
    explicit CSearchBarDropTarget(CSearchBar* pBar) : m_pBar(pBar) {}

    DWORD OnDragEnter(IDataObject* pDataObject, DWORD dwKeyState, POINTL pt, DWORD dwAllowed) override;
    DWORD OnDragOver(IDataObject* pDataObject, DWORD dwKeyState, POINTL pt, DWORD dwAllowed) override;
    DWORD OnDrop(IDataObject* pDataObject, DWORD dwKeyState, POINTL pt, DWORD dwAllowed) override;

    // The text a drop gives: a dragged link's name (its shortcut file name
    // without a trailing ".url", any case), else the dropped text.
    static CString DroppedText(IDataObject* pDataObject, DWORD dwAllowed);

private:
    CSearchBar* m_pBar;
};

//--- CSearchBar
class CSearchBar : public CToolBarEx
{
public:
    static constexpr UINT kId = 59401;
    static constexpr int kCmdRunSearch = 36804;
    static constexpr int kCmdEngineFirst = 30001;
    static constexpr int kCmdHighlight = 30513;
    static constexpr int kCmdFindInPage = 30514;
    static constexpr int kFixedImages = 4;  // "searchbar.bmp"
    static constexpr int kMinIndent = 100;

    explicit CSearchBar(const CSearchEngineTree* pEngines = nullptr) : m_pEngines(pEngines), m_dropTarget(this)
    {
        m_customizeItem = false;
    }

    BOOL Initialize() override;
    void GetButtonText(int nID, CString& text) override;
    CSearchCombo& GetSearchCombo() { return m_combo; }
    const CSearchCombo& GetSearchCombo() const { return m_combo; }
    void SetEngines(const CSearchEngineTree* pEngines) { m_pEngines = pEngines; }
    // The bar's images: the four of "searchbar.bmp" (blank when it is
    // missing), then each bar engine's icon.
    void LoadImages();
    void SetButtons(bool keepImages);
    // Buttons against the right edge, the box in the indent left of them.
    void RecalcLayout();
    bool IsInitialized() const { return m_combo.m_hWnd != nullptr; }
    // Takes drops from now on; a bar without its box never does.
    void RegisterDropTarget();
    CSearchBarDropTarget& GetDropTarget() { return m_dropTarget; }

protected:
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();

    const CSearchEngineTree* m_pEngines;
    CSearchBarDropTarget m_dropTarget;
    CSearchCombo m_combo;
    HIMAGELIST m_hBarImages = nullptr;

    DECLARE_MESSAGE_MAP()
};

#endif // VA_BARS_SEARCHBAR_H
