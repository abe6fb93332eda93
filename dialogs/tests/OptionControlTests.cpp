// Every control of every option page against one table of what it edits:
// the page, the control (a box or radio by its caption, the rest by id),
// the setting's key, its bit or kind, its range and fallback. The table is
// written from what each page is meant to do, apart from the pages' own
// field tables, so a page that edits the wrong key, the wrong bit or with
// the wrong range fails here.
//
// Each page runs a series of times. Every run first checks that each
// control shows what the previous run stored, then sets every control as
// the user would, ends the settings dialog with OK and compares the whole
// settings record with what the table says the run stores. The states of
// the boxes change from run to run so that any two boxes differ in some
// run and every box is switched on and off; lists, radios, numbers and
// texts go through their values, out-of-range ones included.
#include "dialogs/tests/PageHarness.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <set>

#include "dialogs/pages/BindingPages.h"
#include "dialogs/pages/CheckListPages.h"
#include "dialogs/pages/CheckListPagesRes.h"
#include "dialogs/pages/DlgSetTab10.h"
#include "dialogs/pages/DlgSetTab10Res.h"
#include "dialogs/pages/DlgSetTab5.h"
#include "dialogs/pages/DlgSetTab5Res.h"
#include "dialogs/pages/DlgSetTab9.h"
#include "dialogs/pages/DlgSetTab9Res.h"
#include "dialogs/pages/DocPage.h"
#include "dialogs/pages/DocPageRes.h"
#include "dialogs/pages/PlugInPage.h"
#include "dialogs/pages/PopupPage.h"
#include "dialogs/pages/SearchPage.h"
#include "dialogs/pages/SimplePages.h"
#include "dialogs/pages/SimplePagesRes.h"
#include "dialogs/pages/TabBarPages.h"
#include "dialogs/pages/TabBarPagesRes.h"

namespace {

// The three option words of the settings record.
const int kA = 1;
const int kB = 2;
const int kC = 3;

enum class Kind {
    Box,      // a check box whose own key is 1 when checked (0 inverted)
    WordBit,  // a check box that sets one bit of a word (clears it inverted)
    ListRow,  // a checkable row of a check list: one bit of a word
    List,     // a selection list: the item's index
    Radio,    // one radio of a group: its value
    Number,   // a number edit with its arrows
    Text,     // a text edit
    Image,    // the picked image of the group-tab bar page
};

struct Row
{
    Kind kind = Kind::Box;
    const char* caption = nullptr;  // UTF-8; a box or radio is found by it
    int nID = 0;                    // the control, or the caption's control's id
    std::string key;
    int word = 0;                   // Box: the option word holding the key, 0 none
    int bit = 0;                    // Box: its bit there
    uint32_t mask = 0;              // WordBit, ListRow: the bit; Radio: the value
    bool inverted = false;
    bool sideForced = false;        // checked while the tab bar stands left or right
    int lo = 0, hi = 0, fallback = 0;  // Number: arrows and fallback
    bool zeroStays = false;            // Number: 0 is stored as typed
    bool trims = false;                // Text: blanks at both ends go
    int maxBytes = 0;                  // Text
    int widthBits = 0;                 // List: 8 or 16
    const char* items = nullptr;       // List: "|"-separated, UTF-8
    int dlgLine = 0;                   // ListRow: the row's text

    Row At(int id) const { Row r = *this; r.nID = id; return r; }
    Row Forced() const { Row r = *this; r.sideForced = true; return r; }
};

Row Box(const char* caption, const std::string& key, int word = 0, int bit = 0)
{
    Row r;
    r.caption = caption;
    r.key = key;
    r.word = word;
    r.bit = bit;
    return r;
}

Row InvertedBox(const char* caption, const std::string& key, int word, int bit)
{
    Row r = Box(caption, key, word, bit);
    r.inverted = true;
    return r;
}

Row WordBit(const char* caption, const std::string& key, uint32_t mask, bool inverted = false)
{
    Row r;
    r.kind = Kind::WordBit;
    r.caption = caption;
    r.key = key;
    r.mask = mask;
    r.inverted = inverted;
    return r;
}

Row ListRow(int dlgLine, const std::string& key, uint32_t mask)
{
    Row r;
    r.kind = Kind::ListRow;
    r.nID = IDC_CHECKLIST_LIST;
    r.key = key;
    r.mask = mask;
    r.dlgLine = dlgLine;
    return r;
}

Row List(int nID, const std::string& key, int widthBits, const char* items)
{
    Row r;
    r.kind = Kind::List;
    r.nID = nID;
    r.key = key;
    r.widthBits = widthBits;
    r.items = items;
    return r;
}

Row Radio(const char* caption, const std::string& key, uint32_t value)
{
    Row r;
    r.kind = Kind::Radio;
    r.caption = caption;
    r.key = key;
    r.mask = value;
    return r;
}

Row Number(int nID, const std::string& key, int lo, int hi, int fallback)
{
    Row r;
    r.kind = Kind::Number;
    r.nID = nID;
    r.key = key;
    r.lo = lo;
    r.hi = hi;
    r.fallback = fallback;
    return r;
}

Row NumberOrZero(int nID, const std::string& key, int lo, int hi, int fallback)
{
    Row r = Number(nID, key, lo, hi, fallback);
    r.zeroStays = true;
    return r;
}

Row Text(int nID, const std::string& key, int maxBytes, bool trims = false)
{
    Row r;
    r.kind = Kind::Text;
    r.nID = nID;
    r.key = key;
    r.maxBytes = maxBytes;
    r.trims = trims;
    return r;
}

Row Image(int nID, const std::string& key)
{
    Row r;
    r.kind = Kind::Image;
    r.nID = nID;
    r.key = key;
    return r;
}

struct Page
{
    const char* name;
    const CRuntimeClass* pClass;
    UINT nTemplate;
    std::vector<Row> rows;
    // Words the page writes whole from its rows: bits without a row become 0.
    std::set<std::string> whole;
    // The tab bar position: while it is left or right and the bar is shown,
    // the rows marked forced are checked.
    const char* sideKey = nullptr;
    const char* showKey = nullptr;
};

const char kMouseActions[] = "戻る|進む|更新|１階層上のディレクトリ|前のwindow|次のwindow|閉じる|何もしない";
const char kPageTabMouse[] = "何もしない|ポップアップメニュー|更新|ナビゲートロック|自動再読込|閉じる|ドメインロック";
const char kGroupTabMouse[] = "何もしない|ポップアップメニュー|グループタブを閉じる|全て更新|全て中止";
const char kDocMouse[] = "何もしない|ポップアップメニュー|詳細ダイアログ|更新|閉じる";

// The boxes that set bits of the download-control word, with their senses.
std::vector<Row> DownloadControlBoxes(const char* key)
{
    return {
        WordBit("画像のダウンロード", key, 0x10),
        WordBit("サウンドの再生", key, 0x40),
        WordBit("ビデオの再生", key, 0x20),
        WordBit("FlashMovieの再生", key, 0x1),
        WordBit("スクリプトの実行", key, 0x80, true),
        WordBit("Javaの実行", key, 0x100, true),
        WordBit("ActiveXの実行", key, 0x200, true),
        WordBit("ActiveXのダウンロード", key, 0x400, true),
        WordBit("キャッシュを使用しない", key, 0x4000),
        WordBit("ダイアログを抑止する", key, 0x40000000),
    };
}

// The design group both tab bar pages share; suffix "" or "_P".
std::vector<Row> TabBarDesign(const std::string& s, int imageBit, int oldStyleBit, int buttonBit, int mlineBit,
                              int closeWord, int closeBit, int showBit, int widthBit)
{
    auto k = [&](const char* base) { return std::string(base) + s; };
    return {
        Box("タブを表示する", k("bTabShow"), kB, showBit),
        Box("タブにイメージを表示する", k("bTabImage"), kB, imageBit),
        InvertedBox("タブをグラデーション表示", k("bOldStyle"), kB, oldStyleBit),
        Box("タブをボタン表示", k("bTabButton"), kB, buttonBit).Forced(),
        Box("タブの複数行表示", k("bMLine"), kB, mlineBit).Forced(),
        Box("タブに閉じるボタンを表示", k("bShowTabCloseButton"), closeWord, closeBit),
        Radio("↓", k("iTabTop"), 0),
        Radio("↑", k("iTabTop"), 1),
        Radio("←", k("iTabTop"), 2),
        Radio("→", k("iTabTop"), 3),
        Box("タブ幅を固定サイズにする", k("bTabWidth"), kB, widthBit).Forced(),
        Number(IDC_TABBAR_WIDTH, k("iFixedWidth"), 1, 255, 50),
        Number(IDC_TABBAR_TITLELEN, k("iTabStrLen"), 1, 255, 50),
    };
}

std::vector<Row> Join(std::vector<Row> a, const std::vector<Row>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<Page>& Pages()
{
    static const std::vector<Page> pages = {
        { "general", RUNTIME_CLASS(CDlgSetTab5), 214, {
            Box("mailto:を無視", "bMailToNotOpen", kA, 3),
            Box("タスクトレイに常駐させる", "bTaskTray", kA, 1),
            Box("ウインドウの切替をループする", "bWindowChangeLoop", kA, 4),
            Box("クリップボードを監視する", "bClipBordCheck", kA, 16),
            Box("複数起動を許可する", "bDoubleInstance", kA, 17),
            Box("ウインドウの数を制限する", "bWindowMaxCnt", kA, 15),
            Number(IDC_GEN_WINDOWMAXCNT, "iWindowMaxCnt", 1, 255, 255),
            Box("クリック直後だけ新しいウィンドウを開く", "bClickOpen", kA, 2),
            Box("ドメインロック[リンクが別ドメインの場合新しいウィンドウを開く]", "bDiffDomainNewWnd", kA, 28),
            Box("ステータスバーにURLのみ表示する", "bStatusBar_URL_Only", kB, 0),
            Box("お気に入りポップアップを自動的に縮める", "bPopUpNewStyle", kA, 30),
            Number(IDC_GEN_POPUPALPHA, "iPopUpNewStyle_nnn", 1, 255, 255),
            Box("タブモード「子ウインドウを常に最大表示」", "bTabMode", kB, 5),
            Box("リンクのターゲット名を解決", "bTargetName", kB, 11),
            Box("外部アプリからタブを開くときにアクティブにする", "bParamActivate", kB, 27),
            WordBit("マウスのあるウインドウにフォーカスを移動する (例外)", "iFocusMove", 0x1),
            WordBit("アドレスバー", "iFocusMove", 0x2),
            WordBit("サーチバー", "iFocusMove", 0x4),
            Box("メニューにイメージを表示する ※要再起動", "bMenuImage", kC, 2),
            Box("メニューにキーボードショートカットを表示する ※要再起動", "bMenuShortCutKey", kC, 3),
            Box("メインメモリの消費量を抑える(仮想メモリに待避) ※WindowsXP/2000/NTのみ", "bWorkingSet", kC, 4),
            Number(IDC_GEN_RELOAD, "iReload", 1, 255, 255),
            List(IDC_GEN_INITMODE, "iInitMode", 8, "何も開かない|ホームを開く|空白を開く"),
            List(IDC_GEN_MENUSTYLE, "iMENU_STYLE", 8, "標準－平面|標準－立体|XP風－平面|XP風－立体|2003風－平面|2003風－立体"),
        }, { "iFocusMove" } },
        { "page defaults", RUNTIME_CLASS(CDlgSetTab9), 226, Join({
            Box("変更された場合ページを更新する", "bLightRefresh", kA, 29),
            Box("ステータスバーに状態を表示する　※要再起動", "bStatusShow", kB, 12),
            Box("キャッシュをクリア", "bDelCache", kA, 22),
            Box("クッキーをクリア", "bDelCookie", kA, 23),
            Box("履歴をクリア", "bDelHistory", kA, 24),
            Box("お気に入りの再読込", "bReCompFav", kA, 25),
            Box("お気に入り一括再読込", "bReCompFavAll", kA, 26),
            Box("IE履歴の再読込", "bReCompIEHistory", kA, 27),
            Text(IDC_DEF_AGENT, "strUserAgent", 500, true),
        }, DownloadControlBoxes("dwDLControlFlags")), { "dwDLControlFlags" } },
        { "tab operations", RUNTIME_CLASS(CDlgSetTab10), 228, {
            List(IDC_TABOP_APPENDPOS, "iTabAppendPos", 8,
                 "いちばん右|いちばん左|アクティブの右隣|アクティブの左隣|いちばん右(アクティブタブからの場合は右隣)|"
                 "いちばん左(アクティブタブからの場合は左隣)"),
            List(IDC_TABOP_CLOSEPOS, "iTabClosePos", 8,
                 "前にアクティブにしていたタブ|閉じるタブの右側|閉じるタブの左側|いちばん右|いちばん左"),
            List(IDC_TABOP_CTRLN, "CtrlN", 16, "このページ|ホーム|クリップボード|空白"),
            List(IDC_TABOP_CTRLF, "CtrlF", 16, "ページ内検索[Vantorel]|ページ内検索[IE互換]|キーワードハイライト"),
            List(IDC_TABOP_CONTEXT, "iIEContext", 8, "Vantorel拡張メニュー|IE標準+Vantorel拡張|IE標準"),
            Box("アクティブタブの設定を引き継ぐ", "bLinkActivateSetting", kB, 1),
            Box("マルチメディア・セキュリティ・その他", "dwDLControlFlags_LinkActivate"),
            WordBit("ドメインロック", "dwTool_LinkActivate", 0x2),
            WordBit("ホイールロック", "dwTool_LinkActivate", 0x10),
            WordBit("リンクロック", "dwTool_LinkActivate", 0x20),
        }, { "dwTool_LinkActivate" } },
        { "page tabs", RUNTIME_CLASS(CDlgSetTab1), 165, Join({
            Box("リンクをVantorelで開く", "bTabOpen", kA, 0),
            Box("リンクロック[リンクを開くときアクティブにしない]", "bTabActivate_LINK", kA, 31),
            Box("タブ上のホイール回転でアクティブなタブを切替える", "bWheelChange", kA, 5),
            Box("リンクをホイールクリックした時に新しいタブで開く", "bOpenNewWindowWC", kA, 14),
            Box("ホイールロック[リンクをホイールクリックしたとき新しいタブをアクティブにしない]", "bTabActivate_WC", kA, 13),
            List(IDC_TABBAR_MOUSEWC, "iTabmouseWC", 8, kPageTabMouse),
            List(IDC_TABBAR_MOUSER, "iTabmouseR", 16, kPageTabMouse),
            List(IDC_TABBAR_MOUSEDC, "iTabmouseDC", 8, kPageTabMouse),
        }, TabBarDesign("", 7, 3, 2, 4, kC, 11, 6, 9)), {}, "iTabTop", "bTabShow" },
        { "group tabs", RUNTIME_CLASS(CDlgSetTab15), 256, Join({
            Box("グループタブ上のホイール回転でアクティブなグループタブを切替える", "bWheelChange_P", kB, 20),
            List(IDC_TABBAR_NEWACTION, "iDefault_P", 8, "ホームを開く|空白を開く|指定したURLを開く"),
            Text(IDC_TABBAR_URL, "strTargetURL_P", 500),
            Text(IDC_TABBAR_DEFAULTNAME, "strTitle_P", 500),
            Image(IDC_TABBAR_IMAGEBOX, "iTabImageDef_P"),
            List(IDC_TABBAR_MOUSEWC, "iTabmouseWC_P", 8, kGroupTabMouse),
            List(IDC_TABBAR_MOUSER, "iTabmouseR_P", 8, kGroupTabMouse),
            List(IDC_TABBAR_MOUSEDC, "iTabmouseDC_P", 8, kGroupTabMouse),
            Box("ツールチップの替わりに子タブ一覧メニューを表示する", "bTabMenuShow", kC, 14),
            Box("子タブを全て閉じた場合にグループタブも閉じる", "bClosePTabChildEmpty", kC, 13),
        }, TabBarDesign("_P", 26, 22, 21, 23, kC, 12, 25, 24)), {}, "iTabTop_P", "bTabShow_P" },
        // The search page shares this word (its bits 0x40 and 0x80): the
        // rows write their own bits only.
        { "new group triggers", RUNTIME_CLASS(CDlgSetTab16), 257, {
            ListRow(55, "iParentTabNewRule", 0x1),
            ListRow(56, "iParentTabNewRule", 0x2),
            ListRow(57, "iParentTabNewRule", 0x4),
            ListRow(58, "iParentTabNewRule", 0x8),
            ListRow(59, "iParentTabNewRule", 0x10),
            ListRow(60, "iParentTabNewRule", 0x20),
            ListRow(65, "iParentTabNewRule", 0x100),
        }, {} },
        { "full-screen items", RUNTIME_CLASS(CDlgSetTab14), 255, {
            ListRow(45, "iFullScreenShowItem", 0x100),
            ListRow(46, "iFullScreenShowItem", 0x2),
            ListRow(47, "iFullScreenShowItem", 0x1),
            ListRow(80, "iFullScreenShowItem", 0x8000),
            ListRow(49, "iFullScreenShowItem", 0x10),
            ListRow(52, "iFullScreenShowItem", 0x200),
            ListRow(75, "iFullScreenShowItem", 0x400),
            ListRow(76, "iFullScreenShowItem", 0x800),
        }, { "iFullScreenShowItem" } },
        { "favorites window", RUNTIME_CLASS(CDlgSetTab3), 210, {
            List(IDC_FAV_DISPTYPE, "iDocFavMode", 8, "カスタムパネル|シンプル　お気に入りツリー"),
            Box("お気に入りは、新規タブで開く", "bOpenNewTab_FAV", kA, 7),
            Box("お気に入りを開くときアクティブにしない", "bTabActivate_FAV", kA, 10),
            Box("ホイールクリック時に新規タブで開く", "bOpenNewTab_FAV_WC", kB, 8),
            Box("ホイールクリック時に新規タブをアクティブにしない", "bTabActivate_FAV_WC", kB, 10),
            Box("IEの順番で並べる", "bIEOrder", kB, 31),
            Box("お気に入りキャッシュファイルを作成し起動時の読込を高速化する", "bFavLoadCache", kC, 0),
            Box("「このフォルダを全て開く」を表示", "bFavAllOpenMenuAdd", kC, 1),
            Number(IDC_FAV_TITLEMAX, "iFavTitleMaxStr", 1, 255, 55),
            NumberOrZero(IDC_FAV_ROWMAX, "iFavItemRowMax", 30, 5000, 35),
            Box("自動的に隠す", "bFavViewAutoHide"),
            WordBit("Hideバーをクリックするまで表示しない", "bFavViewAutoHideClick", 0x1),
            WordBit("お気に入りを右クリックするまで隠さない", "bFavViewAutoHideClick", 0x2),
            Number(IDC_FAV_DELAY, "iFavViewAutoDelay", 1, 9999, 250),
            Number(IDC_FAV_BARWIDTH, "iFavViewAutoSence", 1, 9999, 25),
            Box("Hideバーを常に表示する（お気に入りが非表示の場合）", "bFavHideBarShow"),
        }, { "bFavViewAutoHideClick" } },
        { "address bar", RUNTIME_CLASS(CDlgSetTab4), 212, {
            Box("アドレスバーは、新規タブで開く　　Ctrl+Enterで逆の動作", "bOpenNewTab_AddBar", kA, 8),
            Box("アドレスバーを開くときアクティブにしない", "bTabActivate_AddBar", kA, 11),
            Box("オートコンプリート有効　※要再起動", "bAddBar_AutoCompEnable", kA, 18),
            Box("開く・移動ダイアログでオートコンプリート有効　※要再起動", "bOpenDlg_AutoCompEnable", kA, 19),
            Box("「アドレス」の文字を表示する　※要再起動", "bAddStrEnable", kB, 18),
        }, {} },
        { "messages", RUNTIME_CLASS(CDlgSetTab17), 268, {
            Box("スクリプトエラーダイアログを表示する", "bShowScriptErr", kC, 6),
            Box("[オフラインでは使用できないWebページ]メッセージを表示する", "bShowOFFLineMsg", kC, 7),
            Box("[ActiveX コントロールは実行できません]メッセージを表示する", "bShowActiveXErrMsg", kC, 8),
            Box("[情報を再送信しないとページを更新できません]メッセージを表示する", "bShowRefreshMsg", kC, 9),
            Number(IDC_MSG_HISTORYMAX, "iBackHistoryMax", 1, 255, 255),
            Box("スーパードラッグ&&ドロップを利用する", "bSuperDnD", kC, 15),
        }, {} },
        { "document window", RUNTIME_CLASS(CDlgSetTab2), 208, {
            Box("Documentウインドウを利用する　※要再起動", "bEnableDoc", kC, 16),
            Box("閉じたタブ履歴は、新規タブで開く", "bOpenNewTab_DocHistory", kA, 9),
            Box("閉じたタブ履歴を開くときアクティブにしない", "bTabActivate_DocHistory", kA, 12),
            Box("閉じたタブ履歴の数を制限する", "bCloseWindowHistoryMax", kB, 16),
            Number(IDC_DOC_LIMITCNT, "iCloseWindowHistoryMaxCnt", 1, 32767, 300),
            Box("閉じたタブ履歴の挿入位置をリストの先頭にする", "bCloseWindowHistoryAppendTop", kB, 28),
            Box("閉じたタブ履歴を利用する　※要再起動", "bShowDocCloseHistory", kC, 10),
            Box("リストを表示する（チェックを外すとツリーのみ表示)　※要再起動", "bShowDocList", kB, 30),
            Box("自動的に隠す", "bDocViewAutoHide"),
            Box("Hideバーをクリックするまで表示しない", "bDocViewAutoHideClick"),
            Number(IDC_DOC_DELAY, "iDocViewAutoDelay", 1, 9999, 250),
            Number(IDC_DOC_WIDTH, "iDocViewAutoSence", 1, 9999, 25),
            Box("Hideバーを常に表示する（Documentウインドウが非表示の場合）", "bDocHideBarShow"),
            List(IDC_DOC_RIGHT, "iDocmouseR", 8, kDocMouse),
            List(IDC_DOC_DBLCLK, "iDocmouseDC", 8, kDocMouse),
            WordBit("IPAddress", "wDocListViewState", 0x1),
            WordBit("UserAgent", "wDocListViewState", 0x2),
            WordBit("Domain", "wDocListViewState", 0x4),
            WordBit("Get・Postデータ詳細", "wDocListViewState", 0x8),
            WordBit("FileSize", "wDocListViewState", 0x10),
            WordBit("Cookie", "wDocListViewState", 0x20),
            WordBit("Referer", "wDocListViewState", 0x40),
        }, { "wDocListViewState" } },
        { "mouse", RUNTIME_CLASS(CDlgSetTab6), 216, {
            List(1149, "mouseRL", 16, kMouseActions),
            List(1151, "mouseLR", 16, kMouseActions),
            List(1160, "mouseDC", 16, kMouseActions),
            Box("マウスジェスチャー有効", "bMouseG", kA, 6).At(1147),
            Box("ジェスチャーメニュー表示", "bMouseGMenu", kB, 14).At(1148),
            Number(1145, "iMouseGSence", 1, 255, 255),
            Number(1146, "iMouseGSence2", 1, 3000, 120),
        }, {} },
        { "popup rules", RUNTIME_CLASS(CDlgPop), 146, {
            Box("ポップアップ抑止機能を利用する", "bPopUpCloseEnable", kB, 17).At(1256),
        }, {} },
        { "search", RUNTIME_CLASS(CDlgSetTab18), 1003, {
            WordBit("検索結果を新しいグループタブで開く", "iParentTabNewRule", 0x40).At(1003),
            WordBit("検索結果を新しいグループタブで開く(複数)", "iParentTabNewRule", 0x80).At(1004),
        }, {} },
        { "plug-ins", RUNTIME_CLASS(CDlgSetTab12), 196, {
            Box("プラグイン機能を利用する ※要再起動", "bPlgEnable", kA, 21).At(1205),
            Box("プラグインからタブを開くときアクティブにしない", "bTabActivate_PL", kB, 19).At(1206),
        }, {} },
    };
    return pages;
}

//--- Texts

// The cp932 bytes of a UTF-8 text.
std::string Cp932(const char* utf8)
{
    const int nWide = ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(nWide), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &wide[0], nWide);
    const int n = ::WideCharToMultiByte(932, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(932, 0, wide.c_str(), -1, &text[0], n, nullptr, nullptr);
    text.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
    return text;
}

std::vector<std::string> Items(const char* utf8)
{
    std::vector<std::string> items;
    std::string all = utf8;
    size_t start = 0;
    for (size_t bar; (bar = all.find('|', start)) != std::string::npos; start = bar + 1)
        items.push_back(Cp932(all.substr(start, bar - start).c_str()));
    items.push_back(Cp932(all.substr(start).c_str()));
    return items;
}

std::string WindowText(HWND hWnd)
{
    char text[1024] = {};
    ::GetWindowTextA(hWnd, text, sizeof(text));
    return text;
}

std::string Name(const Row& row)
{
    return row.key + (row.caption != nullptr ? std::string(" \"") + row.caption + "\"" : "") +
           (row.nID != 0 ? " #" + std::to_string(row.nID) : "") +
           (row.dlgLine != 0 ? " row of line " + std::to_string(row.dlgLine) : "");
}

//--- Controls

bool IsBoxOrRadio(HWND hWnd)
{
    char name[16] = {};
    ::GetClassNameA(hWnd, name, sizeof(name));
    if (lstrcmpiA(name, "Button") != 0)
        return false;
    const LONG_PTR type = ::GetWindowLongPtrA(hWnd, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE ||
           type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

std::vector<HWND> BoxesAndRadios(HWND hPage)
{
    std::vector<HWND> boxes;
    for (HWND hWnd : PageTest::Children(hPage)) {
        if (::GetParent(hWnd) == hPage && IsBoxOrRadio(hWnd))
            boxes.push_back(hWnd);
    }
    return boxes;
}

// The row's control: a box or radio by its caption, anything else by id.
HWND ControlOf(HWND hPage, const Row& row)
{
    if (row.caption == nullptr)
        return ::GetDlgItem(hPage, row.nID);
    const std::string caption = Cp932(row.caption);
    for (HWND hWnd : BoxesAndRadios(hPage)) {
        if (WindowText(hWnd) == caption)
            return hWnd;
    }
    return nullptr;
}

bool BoxChecked(HWND hBox)
{
    return ::SendMessageA(hBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Changes a box or radio as a click does and tells the page.
void ClickTo(HWND hPage, HWND hBox, bool bOn)
{
    ::SendMessageA(hBox, BM_SETCHECK, bOn ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hBox), BN_CLICKED), reinterpret_cast<LPARAM>(hBox));
}

bool RowChecked(HWND hList, int nRow)
{
    const UINT state =
        static_cast<UINT>(::SendMessageA(hList, LVM_GETITEMSTATE, static_cast<WPARAM>(nRow), LVIS_STATEIMAGEMASK));
    return (state >> 12) == 2;
}

void CheckRow(HWND hList, int nRow, bool bOn)
{
    LVITEMA item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(bOn ? 2 : 1);
    ::SendMessageA(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&item));
}

// The up-down control whose buddy is the edit.
HWND ArrowsOf(HWND hPage, HWND hEdit)
{
    for (HWND hWnd : PageTest::Children(hPage)) {
        char name[32] = {};
        ::GetClassNameA(hWnd, name, sizeof(name));
        if (lstrcmpiA(name, UPDOWN_CLASSA) == 0 && reinterpret_cast<HWND>(::SendMessageA(hWnd, UDM_GETBUDDY, 0, 0)) == hEdit)
            return hWnd;
    }
    return nullptr;
}

//--- What each run sets and stores

// One typed value and what the page stores for it.
struct Typed
{
    std::string typed;
    std::string stored;
};

std::vector<Typed> NumberCases(const Row& row)
{
    const std::string fallback = std::to_string(row.fallback);
    const int mid = (row.lo + row.hi) / 2;
    std::vector<Typed> cases = {
        { std::to_string(row.lo), std::to_string(row.lo) },
        { std::to_string(row.hi + 1), fallback },
        { std::to_string(row.hi), std::to_string(row.hi) },
        { std::to_string(row.lo - 1), row.zeroStays && row.lo - 1 == 0 ? "0" : fallback },
        { std::to_string(mid), std::to_string(mid) },
    };
    if (row.zeroStays)
        cases.push_back({ "0", "0" });
    else
        cases.push_back({ "x", fallback });  // no number: read as 0
    return cases;
}

std::vector<Typed> TextCases(const Row& row)
{
    const std::string longText(static_cast<size_t>(row.maxBytes) + 100, 'w');
    std::vector<Typed> cases = {
        { "Typed text", "Typed text" },
        { longText, longText.substr(0, static_cast<size_t>(row.maxBytes)) },
        { "", "" },
    };
    if (row.trims)
        cases.push_back({ "  Blanks at both ends \t", "Blanks at both ends" });
    return cases;
}

// Picker commands and the image each stores.
const int kPickedImages[][2] = { { 36503, 3 }, { 36529, 29 }, { 36530, 30 }, { 36500, 0 } };
const int kPickedImageCount = 4;

int BitLength(int n)
{
    int bits = 0;
    while ((n >> bits) != 0)
        ++bits;
    return bits;
}

// What state r gives each row of a page.
class PageStates
{
public:
    explicit PageStates(const Page& page) : m_page(page)
    {
        std::map<std::string, int> groups;
        for (const Row& row : page.rows) {
            switch (row.kind) {
            case Kind::Box:
            case Kind::WordBit:
            case Kind::ListRow: m_index.push_back(m_boxes++); break;
            case Kind::Radio: {
                const auto found = groups.insert(std::make_pair(row.key, static_cast<int>(groups.size())));
                m_index.push_back(found.first->second);
                ++m_radioCount[row.key];
                break;
            }
            default: m_index.push_back(m_others++); break;
            }
        }
        // Two states per bit of a box's number, so that every two boxes
        // differ in some state and each goes on and off.
        m_states = std::max(2 * (BitLength(m_boxes) + 1), 10);
    }

    int Count() const { return m_states; }

    bool BoxOn(int state, size_t nRow) const
    {
        const int i = m_index[nRow] + 1;
        return (((i >> (state / 2)) & 1) != 0) != ((state & 1) != 0);
    }
    // The item the user picks in a list; its item count when the list holds
    // a value it has no item for and the user leaves it alone.
    int ListItem(int state, size_t nRow) const
    {
        return (state + m_index[nRow]) % (static_cast<int>(Items(m_page.rows[nRow].items).size()) + 1);
    }
    bool ListLeftAlone(int state, size_t nRow) const
    {
        return ListItem(state, nRow) == static_cast<int>(Items(m_page.rows[nRow].items).size());
    }
    // Before the run to the state: the lists left alone in it hold a value
    // they have no item for.
    void GiveUnlistedValues(SettingsRecord& settings, int state) const
    {
        for (size_t n = 0; n < m_page.rows.size(); ++n) {
            const Row& row = m_page.rows[n];
            if (row.kind == Kind::List && ListLeftAlone(state, n))
                settings.SetKeyValue(SettingsRecord::FindKey(row.key.c_str()), std::to_string(ListItem(state, n)).c_str());
        }
    }
    uint32_t RadioValue(int state, size_t nRow) const
    {
        const Row& row = m_page.rows[nRow];
        return static_cast<uint32_t>((state + m_index[nRow]) % m_radioCount.at(row.key));
    }
    Typed NumberCase(int state, size_t nRow) const
    {
        const std::vector<Typed> cases = NumberCases(m_page.rows[nRow]);
        return cases[static_cast<size_t>(state + m_index[nRow]) % cases.size()];
    }
    Typed TextCase(int state, size_t nRow) const
    {
        const std::vector<Typed> cases = TextCases(m_page.rows[nRow]);
        return cases[static_cast<size_t>(state + m_index[nRow]) % cases.size()];
    }
    const int* PickedImage(int state) const { return kPickedImages[state % kPickedImageCount]; }

    // The record after a run to the state from the record before it.
    SettingsRecord Stored(const SettingsRecord& before, int state) const
    {
        SettingsRecord after = before;
        std::map<std::string, uint32_t> owned;
        std::map<std::string, uint32_t> set;
        for (size_t n = 0; n < m_page.rows.size(); ++n) {
            const Row& row = m_page.rows[n];
            const int key = SettingsRecord::FindKey(row.key.c_str());
            switch (row.kind) {
            case Kind::Box: after.SetKeyValue(key, BoxOn(state, n) != row.inverted ? "1" : "0"); break;
            case Kind::WordBit:
            case Kind::ListRow:
                owned[row.key] |= row.mask;
                if (BoxOn(state, n) != row.inverted)
                    set[row.key] |= row.mask;
                break;
            case Kind::List:
                // A list left without a selection keeps what it had.
                if (!ListLeftAlone(state, n))
                    after.SetKeyValue(key, std::to_string(ListItem(state, n)).c_str());
                break;
            case Kind::Radio:
                if (RadioValue(state, n) == row.mask)
                    after.SetKeyValue(key, std::to_string(row.mask).c_str());
                break;
            case Kind::Number: after.SetKeyValue(key, NumberCase(state, n).stored.c_str()); break;
            case Kind::Text: after.SetKeyValue(key, TextCase(state, n).stored.c_str()); break;
            case Kind::Image: after.SetKeyValue(key, std::to_string(PickedImage(state)[1]).c_str()); break;
            }
        }
        if (Forcing(after)) {
            for (const Row& row : m_page.rows) {
                if (row.sideForced)
                    after.SetKeyValue(SettingsRecord::FindKey(row.key.c_str()), "1");
            }
        }
        for (const auto& word : owned) {
            const int key = SettingsRecord::FindKey(word.first.c_str());
            const uint32_t old = static_cast<uint32_t>(ParseSettingsNumber(before.GetKeyValue(key)));
            const uint32_t kept = m_page.whole.count(word.first) != 0 ? 0 : old & ~word.second;
            after.SetKeyValue(key, std::to_string(static_cast<int32_t>(kept | set[word.first])).c_str());
        }
        return after;
    }

    // The tab bar stands left or right and shows: the forced rows are on.
    bool Forcing(const SettingsRecord& settings) const
    {
        if (m_page.sideKey == nullptr)
            return false;
        return ParseSettingsNumber(settings.GetKeyValue(SettingsRecord::FindKey(m_page.sideKey))) >= 2 &&
               ParseSettingsNumber(settings.GetKeyValue(SettingsRecord::FindKey(m_page.showKey))) == 1;
    }

private:
    const Page& m_page;
    std::vector<int> m_index;  // each row's number among its kind
    std::map<std::string, int> m_radioCount;
    int m_boxes = 0;
    int m_others = 0;
    int m_states = 0;
};

std::string KeyText(const SettingsRecord& settings, const char* key)
{
    return static_cast<LPCSTR>(settings.GetKeyValue(SettingsRecord::FindKey(key)));
}

} // namespace

class OptionControlTest : public PageTest, public ::testing::WithParamInterface<size_t>
{
protected:
    const Page& ThePage() const { return Pages()[GetParam()]; }

    // Every row names one control of the page, every box and radio of the
    // page is named by a row, lists hold their items, arrows their range,
    // check-list rows their texts.
    void CheckControls(HWND hPage);
    // What the page shows of the record.
    void CheckShown(HWND hPage, const SettingsRecord& record);
    // Sets every control to the state, as the user would.
    void SetControls(HWND hPage, const PageStates& states, int state);
};

void OptionControlTest::CheckControls(HWND hPage)
{
    const Page& page = ThePage();
    std::set<HWND> named;
    for (const Row& row : page.rows) {
        SCOPED_TRACE(Name(row));
        EXPECT_GE(SettingsRecord::FindKey(row.key.c_str()), 0);
        HWND hControl = ControlOf(hPage, row);
        ASSERT_NE(nullptr, hControl);
        if (row.caption != nullptr) {
            const std::string caption = Cp932(row.caption);
            int same = 0;
            for (HWND hBox : BoxesAndRadios(hPage))
                same += WindowText(hBox) == caption ? 1 : 0;
            EXPECT_EQ(1, same);
            if (row.nID != 0) {
                EXPECT_EQ(row.nID, ::GetDlgCtrlID(hControl));
            }
            named.insert(hControl);
        }
        if (row.kind == Kind::List) {
            const std::vector<std::string> items = Items(row.items);
            ASSERT_EQ(static_cast<LRESULT>(items.size()), ::SendMessageA(hControl, CB_GETCOUNT, 0, 0));
            for (size_t i = 0; i < items.size(); ++i) {
                char text[256] = {};
                ::SendMessageA(hControl, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
                EXPECT_EQ(items[i], text) << "item " << i;
            }
        }
        if (row.kind == Kind::Number) {
            HWND hArrows = ArrowsOf(hPage, hControl);
            ASSERT_NE(nullptr, hArrows);
            int lo = 0, hi = 0;
            ::SendMessageA(hArrows, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
            EXPECT_EQ(row.lo, lo);
            EXPECT_EQ(row.hi, hi);
        }
        if (row.kind == Kind::ListRow) {
            const int nRow = static_cast<int>(&row - &page.rows[0]);
            EXPECT_EQ(std::string(theApp.GetDlgString(row.dlgLine)), Cell(hControl, nRow, 0));
        }
    }
    for (HWND hBox : BoxesAndRadios(hPage))
        EXPECT_EQ(1u, named.count(hBox)) << "a box or radio no row names: " << WindowText(hBox);
}

void OptionControlTest::CheckShown(HWND hPage, const SettingsRecord& record)
{
    const Page& page = ThePage();
    for (size_t n = 0; n < page.rows.size(); ++n) {
        const Row& row = page.rows[n];
        SCOPED_TRACE(Name(row));
        HWND hControl = ControlOf(hPage, row);
        if (hControl == nullptr)
            continue;
        const std::string text = KeyText(record, row.key.c_str());
        const uint32_t value = static_cast<uint32_t>(ParseSettingsNumber(text.c_str()));
        switch (row.kind) {
        case Kind::Box: EXPECT_EQ((value != 0) != row.inverted, BoxChecked(hControl)); break;
        case Kind::WordBit: EXPECT_EQ(((value & row.mask) != 0) != row.inverted, BoxChecked(hControl)); break;
        case Kind::ListRow: EXPECT_EQ((value & row.mask) != 0, RowChecked(hControl, static_cast<int>(n))); break;
        case Kind::List: {
            const bool listed = value < Items(row.items).size();
            EXPECT_EQ(listed ? static_cast<LRESULT>(value) : CB_ERR, ::SendMessageA(hControl, CB_GETCURSEL, 0, 0));
            break;
        }
        case Kind::Radio: EXPECT_EQ(value == row.mask, BoxChecked(hControl)); break;
        case Kind::Number:
        case Kind::Text: EXPECT_EQ(text, WindowText(hControl)); break;
        case Kind::Image: break;
        }
    }
}

void OptionControlTest::SetControls(HWND hPage, const PageStates& states, int state)
{
    const Page& page = ThePage();
    // Radios first: a click on one re-applies the rules of the design group.
    for (size_t n = 0; n < page.rows.size(); ++n) {
        const Row& row = page.rows[n];
        if (row.kind == Kind::Radio)
            ClickTo(hPage, ControlOf(hPage, row), states.RadioValue(state, n) == row.mask);
    }
    for (size_t n = 0; n < page.rows.size(); ++n) {
        const Row& row = page.rows[n];
        HWND hControl = ControlOf(hPage, row);
        if (hControl == nullptr)
            continue;
        switch (row.kind) {
        case Kind::Box:
        case Kind::WordBit: ClickTo(hPage, hControl, states.BoxOn(state, n)); break;
        case Kind::ListRow: CheckRow(hControl, static_cast<int>(n), states.BoxOn(state, n)); break;
        case Kind::List:
            if (!states.ListLeftAlone(state, n)) {
                ::SendMessageA(hControl, CB_SETCURSEL, static_cast<WPARAM>(states.ListItem(state, n)), 0);
                ::SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(row.nID, CBN_SELCHANGE),
                               reinterpret_cast<LPARAM>(hControl));
            }
            break;
        case Kind::Radio: break;
        case Kind::Number: ::SetWindowTextA(hControl, states.NumberCase(state, n).typed.c_str()); break;
        case Kind::Text: ::SetWindowTextA(hControl, states.TextCase(state, n).typed.c_str()); break;
        case Kind::Image: ::SendMessageA(hPage, WM_COMMAND, static_cast<WPARAM>(states.PickedImage(state)[0]), 0); break;
        }
    }
}

TEST_P(OptionControlTest, EveryControlEditsItsSettingWithItsRangeAndFallback)
{
    const Page& page = ThePage();
    const PageStates states(page);
    SettingsRecord& settings = theApp.m_settings;
    settings = states.Stored(SettingsRecord(), 0);
    for (int state = 1; state < states.Count(); ++state) {
        SCOPED_TRACE("run to state " + std::to_string(state));
        states.GiveUnlistedValues(settings, state);
        const SettingsRecord before = settings;
        RunPage(page.pClass, page.nTemplate, { [&](HWND hPage) {
            if (state == 1)
                CheckControls(hPage);
            CheckShown(hPage, before);
            SetControls(hPage, states, state);
        } });
        const SettingsRecord expected = states.Stored(before, state);
        for (const Row& row : page.rows)
            EXPECT_EQ(KeyText(expected, row.key.c_str()), KeyText(settings, row.key.c_str())) << Name(row);
        std::string unexpected;
        for (const std::string& key : DifferentKeys(expected, settings))
            unexpected += key + "=" + KeyText(settings, key.c_str()) + ";";
        EXPECT_EQ("", unexpected);
        // A switch's key is its bit in its option word.
        const uint32_t words[4] = { 0, settings.dwOptionBits1, settings.dwOptionBits2, settings.dwOptionBits3 };
        for (const Row& row : page.rows) {
            if (row.kind == Kind::Box && row.word != 0) {
                EXPECT_EQ(KeyText(settings, row.key.c_str()), std::to_string((words[row.word] >> row.bit) & 1u)) << Name(row);
            }
        }
        // Each run starts from what the last one stored.
        settings = expected;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryOptionPage, OptionControlTest, ::testing::Range<size_t>(0, 15),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             std::string name;
                             for (const char* c = Pages()[info.param].name; *c != '\0'; ++c) {
                                 if (isalnum(static_cast<unsigned char>(*c)))
                                     name += *c;
                             }
                             return name;
                         });

TEST(OptionControlTable, NamesEveryPage)
{
    EXPECT_EQ(15u, Pages().size());
}
