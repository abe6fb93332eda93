// The main toolbar: its fixed table of 46 available buttons, the images of
// "toolbar.bmp" and the button texts of "toolbar.dat".
//
// Classes in this file:
//   CMainToolBar   the rebar's main toolbar band
#ifndef VA_BARS_MAINTOOLBAR_H
#define VA_BARS_MAINTOOLBAR_H

#include "bars/ToolBarEx.h"

//--- CMainToolBar
class CMainToolBar : public CToolBarEx
{
public:
    static constexpr int kImageCount = 55;
    static constexpr int kDefaultOrderLine = 77;  // etc.dat: the default button order

    bool HasTextOnRight(int) const override { return true; }
    void GetButtonText(int nID, CString& text) override;
    BOOL Initialize() override;
    // Initialize with the buttons of a saved layout (the defaults when it
    // is empty): the buttons are added once, not the defaults first.
    BOOL InitializeInOrder(const CString& layout);
    // Line n of String\toolbar.dat.
    virtual CString GetTextLine(int line);

    // The table, in table order.
    static const ToolButtonRecord* GetButtonRecords(int* pCount);
    // The "toolbar.dat" line of a command, or 0.
    static int GetTextLineOf(int nID);
};

#endif // VA_BARS_MAINTOOLBAR_H
