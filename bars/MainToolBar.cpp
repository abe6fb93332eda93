#include "bars/MainToolBar.h"

#include "shared/AppData.h"

namespace {

const BYTE kPlain = TBSTYLE_BUTTON;
const BYTE kDrop = TBSTYLE_DROPDOWN;
const BYTE kDropCheck = TBSTYLE_DROPDOWN | TBSTYLE_CHECK;

ToolButtonRecord Button(int id, int image, BYTE style, bool shown)
{
    ToolButtonRecord record = {};
    record.button.iBitmap = image;
    record.button.idCommand = id;
    record.button.fsState = TBSTATE_ENABLED;
    record.button.fsStyle = style;
    record.shownByDefault = shown;
    return record;
}

ToolButtonRecord Separator(bool shown)
{
    ToolButtonRecord record = Button(0, 0, TBSTYLE_SEP, shown);
    return record;
}

const ToolButtonRecord kButtons[] = {
    Button(36446, 53, kDrop, true), Button(32790, 0, kDrop, true), Button(32851, 1, kPlain, false),
    Button(36012, 2, kPlain, false), Separator(true), Button(32832, 3, kPlain, true),
    Button(57635, 4, kPlain, false), Button(57634, 5, kPlain, true), Button(57637, 6, kPlain, false),
    Button(36011, 7, kPlain, false), Separator(true), Button(1018, 11, kDrop, true),
    Button(1019, 12, kDrop, true), Button(1021, 13, kPlain, true), Button(1022, 15, kPlain, true),
    Button(1020, 17, kPlain, true), Button(1052, 18, kPlain, false), Separator(true),
    Button(36443, 52, kPlain, false), Button(36444, 51, kPlain, false), Button(1044, 24, kDropCheck, true),
    Button(36288, 25, kDrop, true), Separator(true), Button(32772, 27, kDrop, true),
    Button(32771, 28, kPlain, false), Separator(true), Button(1069, 29, kPlain, true),
    Button(1070, 30, kPlain, true), Button(36262, 31, kPlain, false), Button(36263, 32, kPlain, false),
    Button(1071, 33, kPlain, true), Separator(true), Button(1058, 34, kPlain, false),
    Button(1061, 35, kPlain, false), Separator(false), Button(32816, 39, kPlain, false),
    Button(36279, 41, kPlain, false), Button(36280, 42, kPlain, false), Button(36281, 43, kPlain, false),
    Button(36275, 44, kPlain, false), Button(36276, 45, kPlain, false), Button(36277, 46, kPlain, false),
    Button(36278, 47, kPlain, false), Button(36287, 48, kPlain, false), Button(36286, 49, kPlain, false),
    Button(36429, 50, kPlain, false),
};
static_assert(sizeof(kButtons) / sizeof(kButtons[0]) == 46, "the main toolbar has 46 available buttons");

// Command id -> line of "toolbar.dat".
const int kTextLines[][2] = {
    {36446, 1}, {32790, 2}, {32851, 3}, {36012, 4}, {32832, 5}, {57635, 6}, {57634, 7}, {57637, 8},
    {36011, 9}, {1018, 13}, {1019, 14}, {1021, 15}, {1022, 17}, {1020, 19}, {1052, 20}, {36443, 26},
    {36444, 27}, {1044, 28}, {36288, 29}, {32772, 32}, {32771, 33}, {1069, 34}, {1070, 35}, {36262, 36},
    {36263, 37}, {1071, 38}, {1058, 39}, {1061, 40}, {32816, 44}, {36279, 46}, {36280, 47}, {36281, 48},
    {36275, 49}, {36276, 50}, {36277, 51}, {36278, 52}, {36287, 53}, {36286, 54}, {36429, 55}, {36401, 56},
};

} // namespace

const ToolButtonRecord* CMainToolBar::GetButtonRecords(int* pCount)
{
    *pCount = static_cast<int>(sizeof(kButtons) / sizeof(kButtons[0]));
    return kButtons;
}

int CMainToolBar::GetTextLineOf(int nID)
{
    for (const auto& entry : kTextLines)
        if (entry[0] == nID)
            return entry[1];
    return 0;
}

CString CMainToolBar::GetTextLine(int line)
{
    return AppStrings().GetText("toolbar.dat", line);
}

void CMainToolBar::GetButtonText(int nID, CString& text)
{
    int line = GetTextLineOf(nID);
    if (line != 0)
        text = GetTextLine(line);
}

BOOL CMainToolBar::Initialize()
{
    return InitializeInOrder(CString());
}

BOOL CMainToolBar::InitializeInOrder(const CString& layout)
{
    SetImageList(nullptr);
    LoadImages(AppFolders().ResFile("toolbar.bmp"), kImageCount);
    int count = 0;
    const ToolButtonRecord* records = GetButtonRecords(&count);
    SetButtonTable(count, records, kTextHidden, true, layout);
    return TRUE;
}
