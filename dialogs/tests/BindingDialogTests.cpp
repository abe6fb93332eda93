// The binding dialogs' own machinery: the command catalogue's grammar read
// into a tree, and the gesture pad's capture loop fed with posted mouse
// messages.
#include "dialogs/tests/PageHarness.h"

#include "dialogs/pages/BindingDialog.h"
#include "dialogs/pages/BindingDialogsRes.h"

namespace {

const char kUp[] = "\x81\xAA";
const char kDown[] = "\x81\xAB";
const char kLeft[] = "\x81\xA9";
const char kRight[] = "\x81\xA8";

// The lines joined with CR LF; "|" separates them in the tables.
std::string CatalogText(const char* lines)
{
    std::string text;
    for (const char* c = lines; *c != '\0'; ++c)
        text += *c == '|' ? std::string("\r\n") : std::string(1, *c);
    return text + "\r\n";
}

std::string ItemText(HWND hTree, HTREEITEM hItem, int* pImage = nullptr, int* pSelected = nullptr,
                     LPARAM* pData = nullptr)
{
    char text[256] = {};
    TVITEMA item = {};
    item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    item.hItem = hItem;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    ::SendMessageA(hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    if (pImage != nullptr)
        *pImage = item.iImage;
    if (pSelected != nullptr)
        *pSelected = item.iSelectedImage;
    if (pData != nullptr)
        *pData = item.lParam;
    return text;
}

// The tree as "folder{entry=kind:id,...}", siblings joined by ","; the
// entries met in order; the items whose images are not a folder's (0, 1)
// or an entry's (2, 2).
struct TreeDump
{
    std::string tree;
    std::vector<const CommandEntry*> entries;
    int wrongImages = 0;
};

void DumpItems(HWND hTree, HTREEITEM hItem, TreeDump& dump)
{
    for (bool bFirst = true; hItem != nullptr; hItem = TreeView_GetNextSibling(hTree, hItem), bFirst = false) {
        int nImage = -1, nSelected = -1;
        LPARAM data = 0;
        const std::string text = ItemText(hTree, hItem, &nImage, &nSelected, &data);
        dump.tree += (bFirst ? "" : ",") + text;
        const CommandEntry* entry = reinterpret_cast<const CommandEntry*>(data);
        if (entry != nullptr) {
            dump.tree += "=" + std::to_string(entry->kind) + ":" + std::to_string(entry->id);
            dump.entries.push_back(entry);
            dump.wrongImages += nImage == 2 && nSelected == 2 && text == static_cast<LPCSTR>(entry->label) ? 0 : 1;
        } else {
            dump.wrongImages += nImage == 0 && nSelected == 1 ? 0 : 1;
        }
        HTREEITEM hChild = TreeView_GetChild(hTree, hItem);
        if (hChild != nullptr || entry == nullptr) {
            dump.tree += "{";
            DumpItems(hTree, hChild, dump);
            dump.tree += "}";
        }
    }
}

struct GrammarCase
{
    const char* what;
    const char* lines;
    int nSelectId;        // -1: no preset command
    const char* tree;
    const char* selected;  // the selected item's text
};

} // namespace

TEST_F(PageTest, CommandCatalogueGrammarBuildsTheTree)
{
    const GrammarCase cases[] = {
        { "an entry", "ENTRY:|LABEL:Back|COMMAND:1018|ENDENTRY:", -1, "Back=0:1018", "" },
        { "blanks around every line", "  ENTRY:  |\tLABEL:Back\t|  COMMAND:  1018 |ENDENTRY:\t", -1, "Back=0:1018", "" },
        { "a blank after the colon stays", "ENTRY:|LABEL: Back|COMMAND:1|ENDENTRY:", -1, " Back=0:1", "" },
        { "a key event", "ENTRY:|LABEL:Tab|KEYEVENT:9|ENDENTRY:", -1, "Tab=1:9", "" },
        { "the later of command and key event wins",
          "ENTRY:|LABEL:a|COMMAND:5|KEYEVENT:6|ENDENTRY:|ENTRY:|LABEL:b|KEYEVENT:7|COMMAND:8|ENDENTRY:", -1,
          "a=1:6,b=0:8", "" },
        { "numbers: a sign, digits up to the first other character, none gives 0",
          "ENTRY:|LABEL:n|COMMAND:-12x|ENDENTRY:|ENTRY:|LABEL:p|COMMAND:+7|ENDENTRY:|ENTRY:|LABEL:z|COMMAND:abc|"
          "ENDENTRY:",
          -1, "n=0:-12,p=0:7,z=0:0", "" },
        { "a new entry starts empty", "ENTRY:|ENDENTRY:", -1, "=0:0", "" },
        { "a folder scope, then back to where it opened",
          "FOLDER:|LABEL:Nav|ENTRY:|LABEL:Back|COMMAND:1|ENDENTRY:|ENDFOLDER:|ENTRY:|LABEL:Top|COMMAND:2|ENDENTRY:",
          -1, "Nav{Back=0:1},Top=0:2", "" },
        { "folders in folders",
          "FOLDER:|LABEL:A|FOLDER:|LABEL:B|ENTRY:|LABEL:x|COMMAND:1|ENDENTRY:|ENDFOLDER:|ENTRY:|LABEL:y|COMMAND:2|"
          "ENDENTRY:|ENDFOLDER:",
          -1, "A{B{x=0:1},y=0:2}", "" },
        { "a label outside an entry makes its folder the current node",
          "LABEL:A|ENTRY:|LABEL:x|COMMAND:1|ENDENTRY:|LABEL:B|ENTRY:|LABEL:y|COMMAND:2|ENDENTRY:", -1,
          "A{x=0:1,B{y=0:2}}", "" },
        { "a folder without entries", "FOLDER:|LABEL:Empty|ENDFOLDER:", -1, "Empty{}", "" },
        { "a stray top-level ENDFOLDER ends the load",
          "ENTRY:|LABEL:a|COMMAND:1|ENDENTRY:|ENDFOLDER:|ENTRY:|LABEL:b|COMMAND:2|ENDENTRY:", -1, "a=0:1", "" },
        { "an entry left open at the end is dropped", "ENTRY:|LABEL:a|COMMAND:1|ENDENTRY:|ENTRY:|LABEL:b|COMMAND:2",
          -1, "a=0:1", "" },
        { "a folder left open ends with the file", "FOLDER:|LABEL:A|ENTRY:|LABEL:x|COMMAND:1|ENDENTRY:", -1,
          "A{x=0:1}", "" },
        { "keywords are case-sensitive and whole; other lines are ignored",
          "entry:|ENTRY:x|# note|ENDENTRY:|ENTRY:|label:no|LABEL:yes|command:5|COMMAND:6|keyevent:7|ENDENTRY:", -1,
          "yes=0:6", "" },
        { "inside an entry only its own keywords count",
          "ENTRY:|LABEL:a|FOLDER:|ENTRY:|ENDFOLDER:|COMMAND:3|ENDENTRY:|ENTRY:|LABEL:b|ENDENTRY:", -1,
          "a=0:3,b=0:0", "" },
        { "the last entry with the preset id is selected, whatever its kind",
          "ENTRY:|LABEL:a|COMMAND:5|ENDENTRY:|FOLDER:|LABEL:F|ENTRY:|LABEL:b|KEYEVENT:5|ENDENTRY:|ENDFOLDER:|"
          "ENTRY:|LABEL:c|COMMAND:6|ENDENTRY:",
          5, "a=0:5,F{b=1:5},c=0:6", "b" },
        { "without a preset nothing is selected", "ENTRY:|LABEL:a|COMMAND:0|ENDENTRY:", -1, "a=0:0", "" },
    };
    HWND hTree = ::CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | TVS_HASBUTTONS | TVS_HASLINES, 0, 0, 200, 200,
                                   m_hMain, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hTree);
    for (const GrammarCase& c : cases) {
        SCOPED_TRACE(c.what);
        TreeView_DeleteAllItems(hTree);
        m_folder->WriteBytes("catalogue.def", CatalogText(c.lines));
        CStdioFile file;
        ASSERT_TRUE(file.Open(m_folder->File("catalogue.def").c_str(), CFile::modeRead | CFile::typeText));
        std::vector<std::unique_ptr<CommandEntry>> entries;
        LoadCommandTree(file, hTree, entries, c.nSelectId >= 0, c.nSelectId);
        file.Close();

        TreeDump dump;
        DumpItems(hTree, TreeView_GetRoot(hTree), dump);
        EXPECT_EQ(c.tree, dump.tree);
        EXPECT_EQ(0, dump.wrongImages);
        // The dialog's entries are the tree's, in the order they were read.
        ASSERT_EQ(entries.size(), dump.entries.size());
        for (size_t i = 0; i < entries.size(); ++i)
            EXPECT_EQ(entries[i].get(), dump.entries[i]) << i;
        HTREEITEM hSelected = TreeView_GetSelection(hTree);
        EXPECT_EQ(c.selected, hSelected != nullptr ? ItemText(hTree, hSelected) : std::string());
    }
    ::DestroyWindow(hTree);
}

namespace {

// A mouse message posted to the pad, at a point of its client area.
struct PadEvent
{
    UINT nMsg;
    int x;
    int y;
};

struct StrokeCase
{
    const char* what;
    std::vector<int> arrowsFirst;  // arrow buttons clicked before the stroke
    std::vector<PadEvent> events;
    std::string gesture;
    int rightUps;  // right-button-ups the pad receives
};

// The pad's right-button-ups as the thread takes them from its queue.
HWND s_pad = nullptr;
int s_rightUps = 0;
LRESULT CALLBACK CountRightUps(int nCode, WPARAM wParam, LPARAM lParam)
{
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (nCode == HC_ACTION && wParam == PM_REMOVE && msg->hwnd == s_pad && msg->message == WM_RBUTTONUP)
        ++s_rightUps;
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

} // namespace

TEST_F(PageTest, GesturePadTurnsAStrokeIntoArrows)
{
    // From (40, 40) on the pad, a sensitivity of 10 pixels; screen y grows
    // downward.
    const PadEvent down = { WM_RBUTTONDOWN, 40, 40 };
    const StrokeCase cases[] = {
        { "up", {}, { down, { WM_MOUSEMOVE, 40, 20 }, { WM_RBUTTONUP, 40, 20 } }, kUp, 1 },
        { "down", {}, { down, { WM_MOUSEMOVE, 40, 60 }, { WM_RBUTTONUP, 40, 60 } }, kDown, 1 },
        { "left", {}, { down, { WM_MOUSEMOVE, 20, 40 }, { WM_RBUTTONUP, 20, 40 } }, kLeft, 1 },
        { "right", {}, { down, { WM_MOUSEMOVE, 60, 40 }, { WM_RBUTTONUP, 60, 40 } }, kRight, 1 },
        { "up, left, then up again",
          {},
          { down, { WM_MOUSEMOVE, 40, 20 }, { WM_MOUSEMOVE, 20, 20 }, { WM_MOUSEMOVE, 20, 0 }, { WM_RBUTTONUP, 20, 0 } },
          std::string(kUp) + kLeft + kUp,
          1 },
        { "short moves leave the anchor where it was",
          {},
          { down, { WM_MOUSEMOVE, 45, 40 }, { WM_MOUSEMOVE, 49, 40 }, { WM_MOUSEMOVE, 50, 40 }, { WM_RBUTTONUP, 50, 40 } },
          kRight,
          1 },
        { "only short moves: the right click reaches the pad",
          {},
          { down, { WM_MOUSEMOVE, 45, 40 }, { WM_MOUSEMOVE, 40, 49 }, { WM_RBUTTONUP, 40, 49 } },
          "",
          2 },
        { "a plain right click reaches the pad", {}, { down, { WM_RBUTTONUP, 40, 40 } }, "", 2 },
        { "the stroke adds to the arrows shown",
          { IDC_BIND_DOWN },
          { down, { WM_MOUSEMOVE, 60, 40 }, { WM_RBUTTONUP, 60, 40 } },
          std::string(kDown) + kRight,
          1 },
        { "the left button ends the stroke, its arrows stay",
          {},
          { down, { WM_MOUSEMOVE, 40, 20 }, { WM_LBUTTONDOWN, 40, 20 }, { WM_MOUSEMOVE, 20, 20 }, { WM_RBUTTONUP, 20, 20 } },
          kUp,
          1 },
    };
    theApp.m_settings.iMouseGSence = 10;
    HHOOK hook = ::SetWindowsHookExA(WH_GETMESSAGE, CountRightUps, nullptr, ::GetCurrentThreadId());
    for (const StrokeCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::string gesture;
        CDlgGestureSetting dialog;
        WhileModal({
            [&] {
                // The cursor rests where the stroke starts: its own moves
                // never count.
                HWND hDlg = FindDialog();
                s_pad = ::GetDlgItem(hDlg, IDC_BIND_PAD);
                POINT start = { down.x, down.y };
                ::ClientToScreen(s_pad, &start);
                ::SetCursorPos(start.x, start.y);
                for (int nID : c.arrowsFirst)
                    Click(hDlg, nID);
            },
            [&] {
                s_rightUps = 0;
                for (const PadEvent& e : c.events) {
                    const WPARAM keys = e.nMsg == WM_RBUTTONDOWN || e.nMsg == WM_MOUSEMOVE ? MK_RBUTTON : 0;
                    ::PostMessageA(s_pad, e.nMsg, keys, MAKELPARAM(e.x, e.y));
                }
            },
            [&] {
                HWND hDlg = FindDialog();
                gesture = Text(hDlg, IDC_BIND_GESTURE);
                Click(hDlg, IDCANCEL);
            },
        });
        dialog.DoModal();
        EXPECT_TRUE(AllStepsRan());
        EXPECT_EQ(c.gesture, gesture);
        EXPECT_EQ(c.rightUps, s_rightUps);
        EXPECT_EQ(nullptr, ::GetCapture());
    }
    ::UnhookWindowsHookEx(hook);
}
