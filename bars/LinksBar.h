// The links bar band: one button for each favorite or folder of the Links
// folder, the item's name on its right; a folder's button drops its popup.
//
// Classes in this file:
//   LinkButton   one button's item: its name, image, command and style
//   CLinksBar    the rebar's links band
#ifndef VA_BARS_LINKSBAR_H
#define VA_BARS_LINKSBAR_H

#include <vector>

#include "bars/ToolBarEx.h"

//--- LinkButton
// A button names its favorite by command only (never by a tree node), so a
// rebuilt favorites tree cannot leave it pointing at a deleted node.
struct LinkButton
{
    CString label;  // the name shown, before it is cut
    int image = 0;
    UINT command = 0;
    BYTE style = 0;
};

//--- CLinksBar
class CLinksBar : public CToolBarEx
{
public:
    static constexpr UINT kId = 59396;
    static constexpr int kCmdFirstItem = 40000;  // buttons that carry an item
    static constexpr int kImages = 4;            // "mjr.bmp"

    CLinksBar() { m_customizeItem = false; }

    BOOL Create(CWnd* pParent, DWORD dwStyle, UINT nID) override;
    // No buttons, the images of "mjr.bmp".
    BOOL Initialize() override;
    void GetButtonText(int, CString& text) override { text.Empty(); }
    bool GetItemName(const TBBUTTON& button, CString& text) const override;
    // The buttons again in their order, as the table now has them.
    void Refresh() override;

    // The bar's images back to those of "mjr.bmp".
    void ResetImages();
    // The shell's small icon of a file added to the bar's images; its index,
    // or -1.
    int AddShellIcon(LPCSTR path);
    // Every button replaced by one for each link, texts on their right.
    void SetLinks(const std::vector<LinkButton>& links);
    const std::vector<LinkButton>& GetLinks() const { return m_links; }
    // A label as a button shows it: cut to limit bytes with "…", "&" doubled.
    static CString MakeButtonText(const CString& label, int limit);

protected:
    std::vector<LinkButton> m_links;  // the buttons' items, as their data
};

#endif // VA_BARS_LINKSBAR_H
