// The images of the Res folder in the dialogs that show them: the search-
// engine editor's tree, the group definitions list with its image picker,
// and the group customise dialog's preview and picker. Each is compared
// with the shipped strip loaded here on its own, and a screenshot of the
// window is left in the artifacts folder.
#include "dialogs/tests/PageHarness.h"

#include <algorithm>
#include <string>
#include <vector>

#include "dialogs/pages/GroupTabPage.h"
#include "dialogs/pages/GroupTabPageRes.h"
#include "dialogs/pages/SearchEditorRes.h"
#include "dialogs/pages/SearchPage.h"
#include "dialogs/pages/SearchPageRes.h"
#include "tab/TabGroup.h"
#include "tests/support/WindowCapture.h"

extern "C" const char* WINAPI ShowPtabCustom(HICON, CTabGroup*, int*);

namespace {

const int kPickerImages = 30;  // the picker offers images 0 to 29

// A strip of 16 x 16 images from a bitmap file, magenta transparent.
class Strip
{
public:
    explicit Strip(const std::string& path)
        : m_hList(ImageList_LoadImageA(nullptr, path.c_str(), 16, 0, RGB(0xFF, 0x00, 0xFF), IMAGE_BITMAP,
                                       LR_LOADFROMFILE | LR_CREATEDIBSECTION))
    {
    }
    ~Strip()
    {
        if (m_hList != nullptr)
            ImageList_Destroy(m_hList);
    }
    Strip(const Strip&) = delete;
    Strip& operator=(const Strip&) = delete;
    HIMAGELIST Handle() const { return m_hList; }

private:
    HIMAGELIST m_hList;
};

// Whether some pixel is neither black nor the white it was drawn on.
bool HasColour(const std::vector<COLORREF>& pixels)
{
    for (COLORREF c : pixels) {
        if (c != RGB(0, 0, 0) && c != RGB(0xFF, 0xFF, 0xFF))
            return true;
    }
    return false;
}

// The image n of a list shows the strip's image n, and that image is not
// a black or empty square.
void ExpectStripImage(HIMAGELIST hList, const Strip& strip, int n)
{
    const std::vector<COLORREF> shown = ImagePixels(hList, n);
    EXPECT_TRUE(HasColour(shown)) << "image " << n;
    EXPECT_EQ(ImagePixels(strip.Handle(), n), shown) << "image " << n;
}

// The pixels of an icon drawn on white, as ImagePixels gives an image's.
std::vector<COLORREF> IconPixels(HICON hIcon)
{
    HIMAGELIST hList = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0);
    ImageList_AddIcon(hList, hIcon);
    std::vector<COLORREF> pixels = ImagePixels(hList, 0);
    ImageList_Destroy(hList);
    return pixels;
}

// Pixels whose colour is far from any grey: menu texts and frames are grey,
// the group images are coloured.
int ColouredPixels(const WindowCapture& c)
{
    int n = 0;
    for (int y = 0; y < c.nHeight; ++y) {
        for (int x = 0; x < c.nWidth; ++x) {
            const COLORREF px = c.At(x, y);
            const int r = GetRValue(px), g = GetGValue(px), b = GetBValue(px);
            const int hi = std::max(r, std::max(g, b)), lo = std::min(r, std::min(g, b));
            if (hi - lo > 96)
                ++n;
        }
    }
    return n;
}

void Shoot(HWND hWnd, const char* name)
{
    WriteBitmap(ArtifactFolder("VA_DIALOGS_ARTIFACTS") + "/" + name + ".bmp", CaptureWindow(hWnd));
}

// The popup menu window showing now.
HWND ShownMenu()
{
    HWND hMenu = nullptr;
    while ((hMenu = ::FindWindowExA(nullptr, hMenu, "#32768", nullptr)) != nullptr) {
        if (::IsWindowVisible(hMenu))
            return hMenu;
    }
    return nullptr;
}

// Checks the picker showing now: thirty items, coloured images on them;
// then clicks item n as the user does.
void PickFromShownPicker(const char* shotName, int n)
{
    HWND hMenuWnd = ShownMenu();
    ASSERT_NE(nullptr, hMenuWnd);
    Shoot(hMenuWnd, shotName);
    HMENU hMenu = reinterpret_cast<HMENU>(::SendMessageA(hMenuWnd, MN_GETHMENU, 0, 0));
    ASSERT_EQ(kPickerImages, ::GetMenuItemCount(hMenu));
    // The images show: two dozen coloured pixels for each on average.
    EXPECT_GT(ColouredPixels(CaptureWindow(hMenuWnd)), kPickerImages * 24);
    RECT rc = {};
    ASSERT_TRUE(::GetMenuItemRect(nullptr, hMenu, static_cast<UINT>(n), &rc));
    ::SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, clicks, sizeof(INPUT));
}

using ResImageTest = PageTest;

} // namespace

TEST_F(ResImageTest, SearchEditorShowsTheFolderAndEntryImagesOfTheResFolder)
{
    m_folder->WriteBytes("SearchEngine.dat", "ROOT:\r\n\tFOLDER:\r\n\t\tLABEL:F\r\n\t\tPATH:\r\n\t\tENTRY:\r\n"
                                             "\t\t\tLABEL:A\r\n\t\t\tURL:http://a.example/?q=<UTF8>\r\n"
                                             "\t\t\tICON:\r\n\t\t\tADDTOOL:0\r\n\t\t\tSTATE:1\r\n"
                                             "\tENDFOLDER:\r\nENDROOT:\r\n");
    const Strip strip(m_folder->File("Res\\mjr.bmp"));
    ASSERT_NE(nullptr, strip.Handle());
    RunPage(RUNTIME_CLASS(CDlgSetTab18), IDD_SETTAB18, {
        [&](HWND hPage) { Click(hPage, IDC_SEARCH_EDITLIST); },
        [&](HWND) {
            HWND hEditor = FindDialog("\x95\xD2\x8F\x57");  // "編集"
            ASSERT_NE(nullptr, hEditor);
            HWND hTree = ::GetDlgItem(hEditor, IDC_SEARCHEDIT_TREE);
            TreeView_Expand(hTree, TreeView_GetRoot(hTree), TVE_EXPAND);
            Pump();
            Shoot(hEditor, "search-editor");
            HIMAGELIST hImages = TreeView_GetImageList(hTree, TVSIL_NORMAL);
            // Folder, open folder, entry without icon.
            ASSERT_GE(ImageList_GetImageCount(hImages), 3);
            for (int n = 0; n < 3; ++n)
                ExpectStripImage(hImages, strip, n);
            TVITEMA item = {};
            item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
            item.hItem = TreeView_GetRoot(hTree);
            TreeView_GetItem(hTree, &item);
            EXPECT_EQ(0, item.iImage);
            EXPECT_EQ(1, item.iSelectedImage);
            item.hItem = TreeView_GetChild(hTree, item.hItem);
            TreeView_GetItem(hTree, &item);
            EXPECT_EQ(2, item.iImage);
            Click(hEditor, IDCANCEL);
        },
    }, IDCANCEL);
}

TEST_F(ResImageTest, GroupDefinitionsShowTheGroupImagesAndThePickerOffersThemAll)
{
    m_folder->WriteBytes("GroupTab.dat", "Work\x81\x4D" "113\x81\x4D" "3\r\nHome\x81\x4D" "0\x81\x4D" "2\r\n");
    const Strip strip(m_folder->File("Res\\ptab.bmp"));
    ASSERT_NE(nullptr, strip.Handle());
    ASSERT_EQ(kPickerImages, ImageList_GetImageCount(strip.Handle()));
    auto rowImage = [](HWND hList, int nRow) {
        LVITEMA item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = nRow;
        ::SendMessageA(hList, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    };
    RunPage(RUNTIME_CLASS(CDlgPTabSC), IDD_PTABSC, {
        [&](HWND hPage) {
            HWND hList = ::GetDlgItem(hPage, IDC_PTAB_LIST);
            Shoot(::GetParent(hPage), "group-definitions");
            HIMAGELIST hImages = ListView_GetImageList(hList, LVSIL_SMALL);
            ASSERT_EQ(kPickerImages, ImageList_GetImageCount(hImages));
            for (int n = 0; n < kPickerImages; ++n)
                ExpectStripImage(hImages, strip, n);
            EXPECT_EQ(3, rowImage(hList, 0));
            EXPECT_EQ(2, rowImage(hList, 1));
            // A double click on the second row's icon opens the picker.
            SetItem(hPage, IDC_PTAB_LIST, 1);
            NMITEMACTIVATE info = {};
            info.hdr.hwndFrom = hList;
            info.hdr.idFrom = IDC_PTAB_LIST;
            info.hdr.code = NM_DBLCLK;
            info.iItem = 1;
            info.iSubItem = 0;
            ::SendMessageA(hPage, WM_NOTIFY, IDC_PTAB_LIST, reinterpret_cast<LPARAM>(&info));
        },
        [&](HWND) { PickFromShownPicker("group-definitions-picker", 12); },
        [&](HWND hPage) {
            Pump();
            EXPECT_EQ(12, rowImage(::GetDlgItem(hPage, IDC_PTAB_LIST), 1));
        },
    });
    EXPECT_EQ("Work\x81\x4D" "113\x81\x4D" "3\r\nHome\x81\x4D" "0\x81\x4D" "12\r\n",
              m_folder->ReadBytes("GroupTab.dat"));
}

TEST_F(ResImageTest, CustomiseDialogPreviewsTheGroupImageAndTheOneChosenInThePicker)
{
    const Strip strip(m_folder->File("Res\\ptab.bmp"));
    ASSERT_NE(nullptr, strip.Handle());
    CTabGroup group;
    group.m_captionTemplate = "Work %i";
    group.m_image = 5;
    group.m_options = 0x71;
    // The dialog writes into the main window's current group only.
    m_pMain->m_pCurrentGroup = &group;
    auto preview = [](HWND hDlg) {
        HICON hIcon = reinterpret_cast<HICON>(::SendDlgItemMessageA(hDlg, IDC_PTAB_PREVIEW, STM_GETICON, 0, 0));
        return hIcon != nullptr ? IconPixels(hIcon) : std::vector<COLORREF>();
    };
    WhileModal({
        [&] {
            HWND hDlg = FindDialog();
            Shoot(hDlg, "group-customise");
            EXPECT_EQ(ImagePixels(strip.Handle(), 5), preview(hDlg));
            Click(hDlg, IDC_PTAB_CHANGEIMAGE);
        },
        [&] { PickFromShownPicker("group-customise-picker", 12); },
        [&] {
            HWND hDlg = FindDialog();
            EXPECT_EQ(ImagePixels(strip.Handle(), 12), preview(hDlg));
            Shoot(hDlg, "group-customise-chosen");
            Click(hDlg, IDOK);
        },
    });
    int result = 0;
    EXPECT_STREQ("Work %i", ShowPtabCustom(theApp.m_hIcon, &group, &result));
    EXPECT_EQ(IDOK, result);
    EXPECT_TRUE(AllStepsRan());
    EXPECT_EQ(12, group.m_image);
    EXPECT_EQ(0x71u, group.m_options);
}
