// The record of every user option, and the table of its settings-file keys.
//
// Classes in this file:
//   SettingsRect     a rectangle with the layout of a Win32 RECT
//   SettingsRecord   the options; the dialogs library gets the same record by
//                    pointer, so member order and widths are fixed
//
// Fields are named after their settings-file keys. Switches live in the three
// option bit words and are reached by one accessor pair per key:
// record.bTabOpen() reads, record.bTabOpen(false) writes.
#ifndef VA_SHARED_SETTINGSRECORD_H
#define VA_SHARED_SETTINGSRECORD_H

#include <cstdint>

#include "framework/core/CString.h"

// Every settings-file key, in the order the writer writes them (after the
// section and version lines). Each key is named here and nowhere else; the
// defaults, the reader and the writer all run from this list.
//   SWITCH(word, bit, key, default)  bit of dwOptionBits<word>, stored as 0/1
//   NUMBER(member, default)          integer member; width from its type
//   RECT_SIDE(member, side)          one side of a rectangle member, default 0
//   TEXT(member)                     string member, default empty
//   LAYOUT(key)                      a text kept outside the record (the
//                                    rebar band layout)
#define VA_SETTINGS_KEYS(SWITCH, NUMBER, RECT_SIDE, TEXT, LAYOUT) \
    SWITCH(1, 18, bAddBar_AutoCompEnable, 1)   \
    NUMBER(left, 0)                            \
    NUMBER(right, 800)                         \
    NUMBER(top, 0)                             \
    NUMBER(bottom, 600)                        \
    NUMBER(showCmd, 1)                         \
    LAYOUT(Rebar)                              \
    NUMBER(iReload, 1)                         \
    SWITCH(1, 0, bTabOpen, 1)                  \
    SWITCH(1, 1, bTaskTray, 0)                 \
    SWITCH(1, 2, bClickOpen, 0)                \
    SWITCH(1, 6, bMouseG, 1)                   \
    SWITCH(2, 14, bMouseGMenu, 1)              \
    NUMBER(mouseLR, 0)                         \
    NUMBER(mouseRL, 0)                         \
    NUMBER(mouseDC, 0)                         \
    NUMBER(bFavView, 1)                        \
    NUMBER(bDocView, 1)                        \
    NUMBER(iTabTop, 1)                         \
    NUMBER(iTabStrLen, 50)                     \
    SWITCH(1, 3, bMailToNotOpen, 0)            \
    NUMBER(iInitMode, 0)                       \
    SWITCH(1, 4, bWindowChangeLoop, 1)         \
    SWITCH(1, 5, bWheelChange, 1)              \
    NUMBER(iTabmouseR, 0)                      \
    NUMBER(iTabmouseDC, 0)                     \
    NUMBER(iTabmouseWC, 0)                     \
    NUMBER(iDocmouseR, 0)                      \
    NUMBER(iDocmouseDC, 0)                     \
    SWITCH(1, 7, bOpenNewTab_FAV, 1)           \
    SWITCH(2, 8, bOpenNewTab_FAV_WC, 1)        \
    SWITCH(1, 8, bOpenNewTab_AddBar, 0)        \
    SWITCH(1, 9, bOpenNewTab_DocHistory, 1)    \
    SWITCH(1, 10, bTabActivate_FAV, 0)         \
    SWITCH(2, 10, bTabActivate_FAV_WC, 0)      \
    SWITCH(1, 11, bTabActivate_AddBar, 0)      \
    SWITCH(1, 12, bTabActivate_DocHistory, 0)  \
    SWITCH(1, 13, bTabActivate_WC, 0)          \
    SWITCH(1, 14, bOpenNewWindowWC, 1)         \
    SWITCH(1, 15, bWindowMaxCnt, 0)            \
    NUMBER(iWindowMaxCnt, 100)                 \
    SWITCH(1, 16, bClipBordCheck, 0)           \
    SWITCH(1, 17, bDoubleInstance, 0)          \
    NUMBER(iMouseGSence, 20)                   \
    NUMBER(iMouseGSence2, 120)                 \
    SWITCH(1, 19, bOpenDlg_AutoCompEnable, 1)  \
    NUMBER(POPUP_F2_H, 450)                    \
    NUMBER(POPUP_F2_W, 225)                    \
    NUMBER(POPUP_FAV_H, 450)                   \
    NUMBER(POPUP_FAV_W, 225)                   \
    NUMBER(POPUP_FAVA_H, 450)                  \
    NUMBER(POPUP_FAVA_W, 225)                  \
    NUMBER(POPUP_FIND_H, 261)                  \
    NUMBER(POPUP_FIND_W, 211)                  \
    NUMBER(POPUP_Y_H, 346)                     \
    NUMBER(POPUP_Y_W, 240)                     \
    NUMBER(POPUP_TR_H, 445)                    \
    NUMBER(POPUP_TR_W, 220)                    \
    NUMBER(POPUP_SOFT_H, 165)                  \
    NUMBER(POPUP_SOFT_W, 210)                  \
    NUMBER(POPUP_MAP_H, 374)                   \
    NUMBER(POPUP_MAP_W, 203)                   \
    NUMBER(POPUP_IEH_H, 450)                   \
    NUMBER(POPUP_IEH_W, 225)                   \
    NUMBER(POPUP_TEXT_FIND_H, 350)             \
    NUMBER(POPUP_TEXT_FIND_W, 220)             \
    NUMBER(POPUP_HYPER_FIND_H, 400)            \
    NUMBER(POPUP_HYPER_FIND_W, 200)            \
    NUMBER(iMENU_STYLE, 2)                     \
    SWITCH(2, 15, bBar_Status, 1)              \
    SWITCH(1, 20, bBar_Plg, 1)                 \
    NUMBER(bFavViewAutoHide, 0)                \
    NUMBER(iFavViewAutoDelay, 250)             \
    NUMBER(iFavViewAutoSence, 25)              \
    NUMBER(bFavViewAutoHideClick, 0)           \
    NUMBER(bFavHideBarShow, 0)                 \
    NUMBER(bDocViewAutoHide, 0)                \
    NUMBER(iDocViewAutoDelay, 250)             \
    NUMBER(iDocViewAutoSence, 25)              \
    NUMBER(bDocViewAutoHideClick, 0)           \
    NUMBER(bDocHideBarShow, 0)                 \
    SWITCH(1, 22, bDelCache, 0)                \
    SWITCH(1, 23, bDelCookie, 0)               \
    SWITCH(1, 24, bDelHistory, 0)              \
    SWITCH(1, 25, bReCompFav, 1)               \
    SWITCH(1, 26, bReCompFavAll, 0)            \
    SWITCH(1, 27, bReCompIEHistory, 0)         \
    SWITCH(1, 28, bDiffDomainNewWnd, 0)        \
    SWITCH(1, 29, bLightRefresh, 1)            \
    NUMBER(dwDLControlFlags, 113)              \
    SWITCH(1, 31, bTabActivate_LINK, 0)        \
    SWITCH(2, 19, bTabActivate_PL, 0)          \
    SWITCH(1, 30, bPopUpNewStyle, 1)           \
    SWITCH(2, 0, bStatusBar_URL_Only, 0)       \
    NUMBER(iPopUpNewStyle_nnn, 200)            \
    NUMBER(iTabClosePos, 0)                    \
    NUMBER(iTabAppendPos, 0)                   \
    NUMBER(CtrlN, 0)                           \
    NUMBER(CtrlF, 0)                           \
    NUMBER(iIEContext, 0)                      \
    SWITCH(2, 1, bLinkActivateSetting, 1)      \
    NUMBER(dwDLControlFlags_LinkActivate, 113) \
    NUMBER(dwTool_LinkActivate, 0)             \
    SWITCH(2, 2, bTabButton, 0)                \
    SWITCH(2, 3, bOldStyle, 0)                 \
    NUMBER(iFixedWidth, 60)                    \
    SWITCH(2, 9, bTabWidth, 1)                 \
    SWITCH(2, 4, bMLine, 0)                    \
    SWITCH(2, 6, bTabShow, 1)                  \
    SWITCH(2, 7, bTabImage, 1)                 \
    SWITCH(2, 5, bTabMode, 0)                  \
    SWITCH(1, 21, bPlgEnable, 1)               \
    NUMBER(wDocListViewState, 0)               \
    SWITCH(2, 11, bTargetName, 0)              \
    SWITCH(2, 12, bStatusShow, 1)              \
    SWITCH(2, 16, bCloseWindowHistoryMax, 1)   \
    NUMBER(iCloseWindowHistoryMaxCnt, 300)     \
    SWITCH(2, 17, bPopUpCloseEnable, 1)        \
    SWITCH(2, 18, bAddStrEnable, 1)            \
    NUMBER(iFullScreenShowItem, 1023)          \
    SWITCH(2, 20, bWheelChange_P, 1)           \
    NUMBER(iTabmouseWC_P, 0)                   \
    NUMBER(iTabmouseR_P, 2)                    \
    NUMBER(iTabmouseDC_P, 1)                   \
    NUMBER(iTabStrLen_P, 50)                   \
    NUMBER(iFixedWidth_P, 60)                  \
    SWITCH(2, 21, bTabButton_P, 0)             \
    SWITCH(2, 22, bOldStyle_P, 0)              \
    SWITCH(2, 23, bMLine_P, 0)                 \
    SWITCH(2, 24, bTabWidth_P, 0)              \
    SWITCH(2, 25, bTabShow_P, 1)               \
    SWITCH(2, 26, bTabImage_P, 0)              \
    NUMBER(iDefault_P, 0)                      \
    NUMBER(iTabTop_P, 1)                       \
    NUMBER(iParentTabNewRule, 4)               \
    SWITCH(2, 28, bCloseWindowHistoryAppendTop, 1) \
    RECT_SIDE(rcPlgSetting, bottom)            \
    RECT_SIDE(rcPlgSetting, left)              \
    RECT_SIDE(rcPlgSetting, right)             \
    RECT_SIDE(rcPlgSetting, top)               \
    RECT_SIDE(rcScSetting, bottom)             \
    RECT_SIDE(rcScSetting, left)               \
    RECT_SIDE(rcScSetting, right)              \
    RECT_SIDE(rcScSetting, top)                \
    RECT_SIDE(rcPTmpSetting, bottom)           \
    RECT_SIDE(rcPTmpSetting, left)             \
    RECT_SIDE(rcPTmpSetting, right)            \
    RECT_SIDE(rcPTmpSetting, top)              \
    RECT_SIDE(rcPrxpSetting, bottom)           \
    RECT_SIDE(rcPrxpSetting, left)             \
    RECT_SIDE(rcPrxpSetting, right)            \
    RECT_SIDE(rcPrxpSetting, top)              \
    NUMBER(iTabImageDef_P, 0)                  \
    SWITCH(2, 29, bVATrace, 0)                 \
    SWITCH(2, 30, bShowDocList, 1)             \
    SWITCH(2, 31, bIEOrder, 1)                 \
    SWITCH(3, 0, bFavLoadCache, 1)             \
    NUMBER(iFavTitleMaxStr, 55)                \
    NUMBER(iFavItemRowMax, 35)                 \
    SWITCH(3, 1, bFavAllOpenMenuAdd, 0)        \
    NUMBER(iFocusMove, 1)                      \
    SWITCH(3, 2, bMenuImage, 1)                \
    SWITCH(3, 3, bMenuShortCutKey, 1)          \
    SWITCH(3, 4, bWorkingSet, 1)               \
    SWITCH(3, 5, bShowHelpTip, 1)              \
    SWITCH(3, 6, bShowScriptErr, 0)            \
    SWITCH(3, 7, bShowOFFLineMsg, 1)           \
    SWITCH(3, 8, bShowActiveXErrMsg, 0)        \
    SWITCH(3, 9, bShowRefreshMsg, 1)           \
    SWITCH(3, 10, bShowDocCloseHistory, 1)     \
    SWITCH(2, 27, bParamActivate, 1)           \
    SWITCH(3, 11, bShowTabCloseButton, 1)      \
    SWITCH(3, 12, bShowTabCloseButton_P, 1)    \
    SWITCH(3, 13, bClosePTabChildEmpty, 0)     \
    SWITCH(3, 14, bTabMenuShow, 0)             \
    SWITCH(3, 15, bSuperDnD, 1)                \
    NUMBER(iBackHistoryMax, 10)                \
    SWITCH(3, 16, bEnableDoc, 1)               \
    NUMBER(iDocFavMode, 0)                     \
    SWITCH(3, 17, bRandWheel, 0)               \
    TEXT(strUserAgent)                         \
    TEXT(strTargetURL_P)                       \
    TEXT(strTitle_P)

//--- SettingsRect
struct SettingsRect
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

//--- SettingsRecord
class SettingsRecord
{
public:
    // The keyless bit 2:13 follows bStatusShow after every load.
    static constexpr int kStatusMirrorBit = 13;
    // The third word holds switches in bits 0-17 only.
    static constexpr uint32_t kOptionBits3Mask = 0x0003FFFF;

    SettingsRecord();
    SettingsRecord(const SettingsRecord& src);
    SettingsRecord& operator=(const SettingsRecord& src);
    virtual ~SettingsRecord();

    // Takes every field from src (bits 0-17 of the third word); a null src
    // changes nothing.
    void CopyFrom(const SettingsRecord* src);

    // One accessor pair per switch key.
#define VA_SETTINGS_SWITCH_ACCESSORS(word, bit, key, def)                      \
    bool key() const { return ((dwOptionBits##word >> (bit)) & 1u) != 0; }   \
    void key(bool on) { SetOptionBit(dwOptionBits##word, bit, on); }
#define VA_SETTINGS_NO_ACCESSOR(...)
    VA_SETTINGS_KEYS(VA_SETTINGS_SWITCH_ACCESSORS, VA_SETTINGS_NO_ACCESSOR, VA_SETTINGS_NO_ACCESSOR,
                     VA_SETTINGS_NO_ACCESSOR, VA_SETTINGS_NO_ACCESSOR)
#undef VA_SETTINGS_SWITCH_ACCESSORS
#undef VA_SETTINGS_NO_ACCESSOR

    bool bStatusShowMirror() const { return ((dwOptionBits2 >> kStatusMirrorBit) & 1u) != 0; }
    void bStatusShowMirror(bool on) { SetOptionBit(dwOptionBits2, kStatusMirrorBit, on); }

    static void SetOptionBit(uint32_t& word, int bit, bool on)
    {
        if (on)
            word |= (1u << bit);
        else
            word &= ~(1u << bit);
    }

    // The settings-file keys, by index in writer order.
    static int GetKeyCount();
    static LPCTSTR GetKeyName(int index);
    // Index of a key, or -1.
    static int FindKey(LPCTSTR name);
    // The rebar layout key: its value is kept outside the record.
    static bool IsLayoutKey(int index);
    // The value as the settings file writes it: switches 0 or 1, u8/u16 as
    // unsigned decimal, the others signed, strings unchanged. Empty for the
    // layout key.
    CString GetKeyValue(int index) const;
    // Stores a value read from the settings file: numbers as atoi gives them,
    // cut to the field's width; a switch keeps the lowest bit; a string is
    // taken unchanged. The layout key is ignored.
    void SetKeyValue(int index, LPCTSTR value);

    // Members in the fixed order and widths of the shared record.
    int32_t bottom = 0;
    int32_t right = 0;
    int32_t top = 0;
    int32_t left = 0;
    int16_t showCmd = 0;
    uint8_t iDocFavMode = 0;
    uint8_t unnamedByte = 0;
    uint16_t unnamedWords[4] = {};
    uint16_t mouseLR = 0;
    uint16_t mouseRL = 0;
    uint16_t mouseDC = 0;
    uint16_t wDocListViewState = 0;
    uint16_t iTabStrLen = 0;
    uint16_t iTabmouseR = 0;
    uint16_t iPopUpNewStyle_nnn = 0;
    uint16_t CtrlN = 0;
    uint16_t CtrlF = 0;
    uint16_t dwDLControlFlags_LinkActivate = 0;
    uint16_t iFavViewAutoDelay = 0;
    uint16_t iDocViewAutoDelay = 0;
    uint16_t iFavViewAutoSence = 0;
    uint16_t iDocViewAutoSence = 0;
    uint16_t POPUP_F2_H = 0;
    uint16_t POPUP_FAV_H = 0;
    uint16_t POPUP_FAVA_H = 0;
    uint16_t POPUP_FIND_H = 0;
    uint16_t POPUP_Y_H = 0;
    uint16_t POPUP_TR_H = 0;
    uint16_t POPUP_SOFT_H = 0;
    uint16_t POPUP_MAP_H = 0;
    uint16_t POPUP_IEH_H = 0;
    uint16_t POPUP_TEXT_FIND_H = 0;
    uint16_t POPUP_HYPER_FIND_H = 0;
    uint16_t POPUP_F2_W = 0;
    uint16_t POPUP_FAV_W = 0;
    uint16_t POPUP_FAVA_W = 0;
    uint16_t POPUP_FIND_W = 0;
    uint16_t POPUP_Y_W = 0;
    uint16_t POPUP_TR_W = 0;
    uint16_t POPUP_SOFT_W = 0;
    uint16_t POPUP_MAP_W = 0;
    uint16_t POPUP_IEH_W = 0;
    uint16_t POPUP_TEXT_FIND_W = 0;
    uint16_t POPUP_HYPER_FIND_W = 0;
    uint16_t iFavTitleMaxStr = 0;
    uint16_t iFavItemRowMax = 0;
    SettingsRect rcPlgSetting;
    SettingsRect rcScSetting;
    SettingsRect rcPTmpSetting;
    SettingsRect rcPrxpSetting;
    uint32_t dwDLControlFlags = 0;
    CString strUserAgent;
    CString strTargetURL_P;
    CString strTitle_P;
    uint8_t bFavViewAutoHide = 0;
    uint8_t bDocViewAutoHide = 0;
    uint8_t bFavView = 0;
    uint8_t bDocView = 0;
    uint8_t bFavViewAutoHideClick = 0;
    uint8_t bDocViewAutoHideClick = 0;
    uint8_t bFavHideBarShow = 0;
    uint8_t bDocHideBarShow = 0;
    uint16_t iCloseWindowHistoryMaxCnt = 0;
    uint16_t dwTool_LinkActivate = 0;
    uint16_t iMouseGSence2 = 0;
    uint16_t iFullScreenShowItem = 0;
    uint16_t iTabStrLen_P = 0;
    uint16_t iParentTabNewRule = 0;
    uint16_t iWindowMaxCnt = 0;
    uint16_t iMouseGSence = 0;
    uint8_t iBackHistoryMax = 0;
    uint8_t iTabmouseDC = 0;
    uint8_t iTabmouseWC = 0;
    uint8_t iDocmouseR = 0;
    uint8_t iDocmouseDC = 0;
    uint8_t iInitMode = 0;
    uint8_t iReload = 0;
    uint8_t iTabTop = 0;
    uint8_t iMENU_STYLE = 0;
    uint8_t iTabClosePos = 0;
    uint8_t iTabAppendPos = 0;
    uint8_t iIEContext = 0;
    uint8_t iTabmouseWC_P = 0;
    uint8_t iTabmouseR_P = 0;
    uint8_t iTabmouseDC_P = 0;
    uint8_t iTabTop_P = 0;
    uint8_t iDefault_P = 0;
    uint8_t iTabImageDef_P = 0;
    uint8_t iFocusMove = 0;
    uint8_t iFixedWidth = 0;
    uint8_t iFixedWidth_P = 0;
    uint32_t dwOptionBits1 = 0;
    uint32_t dwOptionBits2 = 0;
    uint32_t dwOptionBits3 = 0;
};

// The integer of a settings value as atoi reads it: leading white space, an
// optional sign, then digits up to the first other character; no digits give
// 0 and values beyond the int range are clamped to it.
int32_t ParseSettingsNumber(LPCTSTR text);

#endif // VA_SHARED_SETTINGSRECORD_H
