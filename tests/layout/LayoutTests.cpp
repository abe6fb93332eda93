// Every dialog template that ships, made into a window: each caption fits
// its control in the font the dialog gives it, and no control crosses
// another or the dialog's edge. The measurements themselves are checked on
// controls of known sizes first.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/layout/CaptionFit.h"
#include "tests/layout/ControlOverlap.h"
#include "tests/layout/LayoutTestsRes.h"
#include "tests/support/DialogTemplates.h"
#include "tests/support/ProgramFolder.h"

namespace {

// A hidden top-level window for the templates that are pages (WS_CHILD).
class HiddenParent
{
public:
    HiddenParent()
        : m_hWnd(::CreateWindowExW(0, L"#32770", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr))
    {
    }
    ~HiddenParent() { ::DestroyWindow(m_hWnd); }
    HiddenParent(const HiddenParent&) = delete;
    HiddenParent& operator=(const HiddenParent&) = delete;
    HWND Get() const { return m_hWnd; }

private:
    HWND m_hWnd;
};

class TemplateDialog
{
public:
    TemplateDialog(HMODULE hModule, WORD id, HWND hParent)
        : m_hWnd(CreateTemplateDialog(hModule, id,
                                      (DialogTemplateStyle(hModule, id) & WS_CHILD) != 0 ? hParent : nullptr))
    {
    }
    ~TemplateDialog()
    {
        if (m_hWnd != nullptr)
            ::DestroyWindow(m_hWnd);
    }
    TemplateDialog(const TemplateDialog&) = delete;
    TemplateDialog& operator=(const TemplateDialog&) = delete;
    HWND Get() const { return m_hWnd; }

private:
    HWND m_hWnd;
};

std::string Utf8(const std::wstring& text)
{
    int cb = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(cb), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], cb, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

int TextWidth(HWND hWnd, const std::wstring& text)
{
    ControlDC dc(hWnd);
    SIZE size = {};
    ::GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

int LineHeight(HWND hWnd)
{
    ControlDC dc(hWnd);
    TEXTMETRICW tm = {};
    ::GetTextMetricsW(dc.Get(), &tm);
    return tm.tmHeight;
}

int HalfZeroWidth(HWND hWnd)
{
    ControlDC dc(hWnd);
    int nZero = 0;
    ::GetCharWidth32W(dc.Get(), L'0', L'0', &nZero);
    return nZero / 2;
}

// The face the system drew the window's font with, and whether that face
// holds the Japanese characters (else every width measured here is a
// fallback's).
std::string DrawnFace(HWND hWnd, bool* pJapanese)
{
    ControlDC dc(hWnd);
    wchar_t szFace[LF_FACESIZE] = {};
    ::GetTextFaceW(dc.Get(), LF_FACESIZE, szFace);
    *pJapanese = ::GetTextCharset(dc.Get()) == SHIFTJIS_CHARSET;
    return Utf8(szFace);
}

TEST(CaptionFit, MnemonicMarkersAreNotDrawn)
{
    const struct { const wchar_t* text; const wchar_t* drawn; } rows[] = {
        { L"&OK", L"OK" },
        { L"参照(&R)...", L"参照(R)..." },
        { L"スーパードラッグ&&ドロップ", L"スーパードラッグ&ドロップ" },
        { L"&&&x", L"&x" },
        { L"end&", L"end" },
        { L"plain", L"plain" },
    };
    for (const auto& row : rows)
        EXPECT_EQ(WithoutMnemonics(row.text), row.drawn) << Utf8(row.text);
}

// The helper makes a page from its template bytes under a hidden parent,
// leaving out a control whose class this process does not know.
TEST(CaptionFit, TemplatePageIsMadeWithoutItsUnknownControls)
{
    const HMODULE hSelf = ::GetModuleHandleW(nullptr);
    const std::vector<WORD> ids = DialogTemplateIds(hSelf);
    EXPECT_NE(std::find(ids.begin(), ids.end(), IDD_LAYOUTPAGE), ids.end());
    EXPECT_NE(DialogTemplateStyle(hSelf, IDD_LAYOUTPAGE) & WS_CHILD, 0u);
    EXPECT_EQ(CreateTemplateDialog(hSelf, 1, nullptr), nullptr);

    HiddenParent parent;
    TemplateDialog page(hSelf, IDD_LAYOUTPAGE, parent.Get());
    ASSERT_NE(page.Get(), nullptr);
    EXPECT_FALSE(::IsWindowVisible(page.Get()));
    EXPECT_EQ(::GetParent(page.Get()), parent.Get());
    EXPECT_EQ(::GetDlgItem(page.Get(), IDC_FIT_MISSINGCLASS), nullptr);
    EXPECT_NE(::GetDlgItem(page.Get(), IDC_FIT_PLACEHOLDER), nullptr);
    // The placeholder's class id is not a caption, however small its static.
    EXPECT_TRUE(FindClippedCaptions(page.Get()).empty());
}

// Each control is sized from the pixels its text takes: given exactly what it
// needs it fits, one pixel (or one line) less and it is clipped. The
// allowances are those the unthemed controls draw: a push button's 2-pixel
// frame a side (3 for the default button), a check box's or radio button's
// 13-pixel glyph and half a "0" of gap, a group box's caption 7 pixels in
// from each side.
TEST(CaptionFit, EachControlNeedsItsTextAndWhatItDrawsBesides)
{
    HiddenParent parent;
    TemplateDialog page(::GetModuleHandleW(nullptr), IDD_LAYOUTPAGE, parent.Get());
    ASSERT_NE(page.Get(), nullptr);
    const HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(page.Get(), WM_GETFONT, 0, 0));
    ASSERT_NE(hFont, nullptr);
    const int nLine = LineHeight(page.Get());
    const int nGlyph = 13 + HalfZeroWidth(page.Get());

    const wchar_t kLong[] = L"ホイールロック[リンクをホイールクリックしたとき新しいタブをアクティブにしない]";
    const wchar_t kRange[] = L"( 30 - 5000 )※0の場合は自動調整";
    const struct Row {
        const wchar_t* pszClass;
        DWORD dwStyle;
        const wchar_t* text;
        const wchar_t* drawn;  // the text as measured
        int cxExtra;           // pixels besides the drawn text's width
        int nLines;            // the height, in lines of text
        bool bClipped;
    } rows[] = {
        { L"Button", BS_PUSHBUTTON, L"参照(&R)", L"参照(R)", 4, 2, false },
        { L"Button", BS_PUSHBUTTON, L"参照(&R)", L"参照(R)", 3, 2, true },
        { L"Button", BS_DEFPUSHBUTTON, L"A&&B", L"A&B", 6, 2, false },
        { L"Button", BS_DEFPUSHBUTTON, L"A&&B", L"A&B", 5, 2, true },
        { L"Button", BS_AUTOCHECKBOX, L"ホイールロック", L"ホイールロック", nGlyph, 1, false },
        { L"Button", BS_AUTOCHECKBOX, L"ホイールロック", L"ホイールロック", nGlyph - 1, 1, true },
        { L"Button", BS_AUTORADIOBUTTON, L"↑", L"↑", nGlyph, 1, false },
        { L"Button", BS_AUTORADIOBUTTON, L"↑", L"↑", nGlyph - 1, 1, true },
        // A multi-line check box breaks its text at the room beside its glyph.
        { L"Button", BS_AUTOCHECKBOX | BS_MULTILINE, kLong, kLong, nGlyph - 1, 2, false },
        { L"Button", BS_AUTOCHECKBOX | BS_MULTILINE, kLong, kLong, nGlyph - 1, 1, true },
        { L"Button", BS_GROUPBOX, L"マルチメディア", L"マルチメディア", 14, 2, false },
        { L"Button", BS_GROUPBOX, L"マルチメディア", L"マルチメディア", 13, 2, true },
        { L"Static", SS_LEFTNOWORDWRAP, L"新しい高さ", L"新しい高さ", 0, 1, false },
        { L"Static", SS_LEFTNOWORDWRAP, L"新しい高さ", L"新しい高さ", -1, 1, true },
        // A wrapping static one pixel too narrow takes a second line.
        { L"Static", SS_LEFT, kRange, kRange, 0, 1, false },
        { L"Static", SS_LEFT, kRange, kRange, -1, 1, true },
        { L"Static", SS_LEFT, kRange, kRange, -1, 2, false },
        { L"Static", SS_LEFT, L"一行目\n二行目", L"一行目", 0, 2, false },
        { L"Static", SS_LEFT, L"一行目\n二行目", L"一行目", 0, 1, true },
        { L"Static", SS_LEFT | SS_NOPREFIX, L"%iで通し番号 &%c", L"%iで通し番号 &%c", 0, 1, false },
        { L"Static", SS_LEFT | SS_NOPREFIX, L"%iで通し番号 &%c", L"%iで通し番号 &%c", -1, 1, true },
    };
    std::vector<int> expectedClipped;
    int nId = IDC_FIT_FIRSTROW;
    for (const Row& row : rows) {
        HWND hCtl = ::CreateWindowExW(0, row.pszClass, row.text, WS_CHILD | row.dwStyle, 0, 0, 10, 10, page.Get(),
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(nId)),
                                      ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(hCtl, nullptr);
        ::SendMessageW(hCtl, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
        ::SetWindowPos(hCtl, nullptr, 0, 0, TextWidth(hCtl, row.drawn) + row.cxExtra, nLine * row.nLines,
                       SWP_NOZORDER | SWP_NOMOVE);
        if (row.bClipped)
            expectedClipped.push_back(nId);
        ++nId;
    }

    std::vector<int> clipped;
    for (const ClippedCaption& c : FindClippedCaptions(page.Get())) {
        clipped.push_back(c.nControlId);
        EXPECT_GT(c.nNeeded, c.nAvailable) << Describe(c);
    }
    EXPECT_EQ(clipped, expectedClipped);
}

HWND AddControl(HWND hPage, const wchar_t* pszClass, DWORD dwStyle, int nId, int x, int y, int cx, int cy)
{
    return ::CreateWindowExW(0, pszClass, L"x", WS_CHILD | dwStyle, x, y, cx, cy, hPage,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(nId)), ::GetModuleHandleW(nullptr),
                             nullptr);
}

// A group box holds what lies inside it, an up-down control sits on its
// buddy; anything else that crosses another control, or the dialog's edge,
// is found. Hidden controls are not looked at.
TEST(ControlOverlap, FindsCrossingControlsAndControlsPastTheEdge)
{
    HiddenParent parent;
    TemplateDialog page(::GetModuleHandleW(nullptr), IDD_LAYOUTPAGE, parent.Get());
    ASSERT_NE(page.Get(), nullptr);
    RECT rcPage = {};
    ::GetClientRect(page.Get(), &rcPage);
    const int id = IDC_FIT_FIRSTROW;
    AddControl(page.Get(), L"Button", WS_VISIBLE | BS_GROUPBOX, id, 20, 20, 200, 100);
    AddControl(page.Get(), L"Button", WS_VISIBLE | BS_AUTOCHECKBOX, id + 1, 30, 40, 100, 15);
    AddControl(page.Get(), L"Button", WS_VISIBLE | BS_AUTOCHECKBOX, id + 2, 150, 60, 100, 15);
    AddControl(page.Get(), L"Button", WS_VISIBLE, id + 3, 20, 150, 50, 20);
    AddControl(page.Get(), L"Button", WS_VISIBLE, id + 4, 60, 150, 50, 20);
    AddControl(page.Get(), L"Static", 0, id + 5, 20, 150, 100, 20);
    HWND hEdit = AddControl(page.Get(), L"Edit", WS_VISIBLE | WS_BORDER, id + 6, 20, 200, 60, 20);
    HWND hUpDown = AddControl(page.Get(), UPDOWN_CLASSW, WS_VISIBLE | UDS_ALIGNRIGHT, id + 7, 0, 0, 15, 20);
    ::SendMessageW(hUpDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(hEdit), 0);
    AddControl(page.Get(), L"Button", WS_VISIBLE, id + 8, rcPage.right - 40, 250, 50, 20);

    const std::vector<std::pair<int, int>> expected = { { id, id + 2 }, { id + 3, id + 4 } };
    EXPECT_EQ(FindOverlappingControls(page.Get()), expected);
    EXPECT_EQ(FindControlsOutside(page.Get()), std::vector<int>{ id + 8 });
}

// The two modules as they ship, loaded as data from the program folder the
// build lays out, and the templates each must hold (so that an empty
// enumeration cannot pass).
struct ShippedModule
{
    const char* pszFile;
    std::vector<WORD> expectedIds;
};

void PrintTo(const ShippedModule& shipped, std::ostream* os)
{
    *os << shipped.pszFile;
}

class ShippedDialogs : public testing::TestWithParam<ShippedModule>
{
};

// Controls whose dialog hides them for good: their captions never show.
bool NeverShown(WORD templateId, int nControlId)
{
    return templateId == 100 && nControlId == 1267;  // the about dialog's trace switch
}

// The busy dialog writes its text over its animation's area on purpose.
bool OverlapsByDesign(WORD templateId, const std::pair<int, int>& controls)
{
    return templateId == 144 && controls == std::make_pair(1048, 1006);
}

// Each template of the shipped module made into a window (a page under a
// hidden parent), handed to check; a template that cannot be made fails.
template <class Check>
void ForEachShippedDialog(const ShippedModule& shipped, Check check)
{
    ResourceModule module(ProgramFolder::PathFromEnvironment("VA_BIN_DIR") + "\\" + shipped.pszFile);
    ASSERT_NE(module.Handle(), nullptr) << shipped.pszFile;
    const std::vector<WORD> ids = DialogTemplateIds(module.Handle());
    for (WORD id : shipped.expectedIds)
        EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << "template " << id;

    HiddenParent parent;
    for (WORD id : ids) {
        TemplateDialog dialog(module.Handle(), id, parent.Get());
        if (dialog.Get() == nullptr)
            ADD_FAILURE() << "template " << id << " cannot be made";
        else
            check(id, dialog.Get());
    }
}

TEST_P(ShippedDialogs, EveryCaptionFitsItsControl)
{
    ForEachShippedDialog(GetParam(), [](WORD id, HWND hDlg) {
        bool bJapanese = false;
        const std::string face = DrawnFace(hDlg, &bJapanese);
        EXPECT_TRUE(bJapanese) << "template " << id << " is drawn in " << face;
        for (const ClippedCaption& c : FindClippedCaptions(hDlg)) {
            if (!NeverShown(id, c.nControlId))
                ADD_FAILURE() << "template " << id << ": " << Describe(c);
        }
    });
}

TEST_P(ShippedDialogs, NoControlCrossesAnotherOrTheDialogsEdge)
{
    ForEachShippedDialog(GetParam(), [](WORD id, HWND hDlg) {
        for (int nId : FindControlsOutside(hDlg))
            ADD_FAILURE() << "template " << id << ": control " << nId << " reaches past the dialog";
        for (const auto& overlap : FindOverlappingControls(hDlg)) {
            if (!OverlapsByDesign(id, overlap))
                ADD_FAILURE() << "template " << id << ": controls " << overlap.first << " and "
                              << overlap.second << " overlap";
        }
    });
}

INSTANTIATE_TEST_SUITE_P(
    BothModules, ShippedDialogs,
    testing::Values(
        ShippedModule{ "Formbay.dll",
                       { 146, 147, 165, 190, 194, 196, 208, 210, 212, 214, 218, 220, 222, 224, 226, 228,
                         255, 256, 257, 259, 260, 262, 268, 1003, 1006, 1007 } },
        ShippedModule{ "VantorelArco.exe", { 144, 206 } }),
    [](const testing::TestParamInfo<ShippedModule>& info) {
        return std::string(info.param.pszFile).substr(0, std::string(info.param.pszFile).find('.'));
    });

} // namespace
