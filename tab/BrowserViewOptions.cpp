// CBrowserView: the tab's download-control word (page options).
#include "tab/BrowserView.h"

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <mshtml.h>

#include "framework/ole/OleUtil.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "tab/FlashHiding.h"
#include "tab/KeyState.h"
#include "tab/PageFrames.h"
#include "tab/TabHost.h"
#include "tab/TabItem.h"

namespace {

const DWORD kFlash = 0x1;
const DWORD kImages = 0x10;
const DWORD kVideos = 0x20;
const DWORD kSounds = 0x40;
const DWORD kNoScripts = 0x80;
const DWORD kNoJava = 0x100;
const DWORD kNoActiveXRun = 0x200;
const DWORD kNoActiveXDownload = 0x400;
const DWORD kNoCache = 0x4000;
const DWORD kSilent = 0x40000000;
const int kEtcFlashHidden = 73;
const DWORD kMedia = kSounds | kVideos | kImages | kFlash;
const DWORD kSecurity = kNoScripts | kNoJava | kNoActiveXRun | kNoActiveXDownload;

} // namespace

void CBrowserView::SetPageOptions(DWORD options)
{
    if (m_pTabItem != nullptr)
        m_pTabItem->m_pageOptions = options;
    m_ambient.SetDownloadControl(options);
}

// Sets, then clears, one bit at a time, each written back so the control
// reads every step.
void CBrowserView::ChangeOption(DWORD set, DWORD clear)
{
    for (DWORD bit = 1; bit != 0; bit <<= 1) {
        if ((set & bit) && !(GetPageOptions() & bit))
            SetPageOptions(GetPageOptions() | bit);
        if ((clear & bit) && (GetPageOptions() & bit))
            SetPageOptions(GetPageOptions() & ~bit);
    }
}

// A closing tab stops its sounds, videos, images, scripts and controls at
// once.
void CBrowserView::QuietPageOnClose()
{
    ChangeOption(kNoScripts | kNoJava | kNoActiveXRun | kNoActiveXDownload,
                 kSounds | kVideos | kImages | kFlash);
}

void CBrowserView::AfterOptionChange()
{
    if (m_pTabItem == nullptr)
        return;
    m_pTabItem->m_pageOptions = GetPageOptions();
    if (AppSettings().bLightRefresh() && NoModifierKeys())
        Navigate(m_pTabItem->m_url);
}

void CBrowserView::OnPageOption(UINT nID)
{
    const DWORD word = GetPageOptions();
    auto toggle = [&](DWORD bit) {
        if (word & bit)
            ChangeOption(0, bit);
        else
            ChangeOption(bit, 0);
    };
    switch (nID) {
    case 36275: toggle(kNoScripts); break;
    case 36276: toggle(kNoJava); break;
    case 36277: toggle(kNoActiveXRun); break;
    case 36278: toggle(kNoActiveXDownload); break;
    case 36279: toggle(kImages); break;
    case 36280: toggle(kSounds); break;
    case 36281: toggle(kVideos); break;
    case 36429: toggle(kFlash); break;
    case 36282: ChangeOption(kMedia, 0); break;
    case 36283: ChangeOption(0, kMedia); break;
    case 36284: ChangeOption(0, kSecurity); break;
    case 36285: ChangeOption(kSecurity, 0); break;
    case 36286: toggle(kNoCache); break;
    case 36287: toggle(kSilent); break;
    default: return;
    }
    AfterOptionChange();
}

void CBrowserView::OnUpdatePageOption(CCmdUI* pCmdUI)
{
    const DWORD w = GetPageOptions();
    bool checked = false;
    switch (pCmdUI->m_nID) {
    case 36275: checked = !(w & kNoScripts); break;
    case 36276: checked = !(w & kNoJava); break;
    case 36277: checked = !(w & kNoActiveXRun); break;
    case 36278: checked = !(w & kNoActiveXDownload); break;
    case 36279: checked = (w & kImages) != 0; break;
    case 36280: checked = (w & kSounds) != 0; break;
    case 36281: checked = (w & kVideos) != 0; break;
    case 36429: checked = (w & kFlash) != 0; break;
    case 36282: checked = (w & kMedia) == kMedia; break;
    case 36283: checked = (w & kMedia) == 0; break;
    case 36284: checked = (w & kSecurity) == 0; break;
    case 36285: checked = (w & kSecurity) == kSecurity; break;
    case 36286: checked = (w & kNoCache) != 0; break;
    case 36287: checked = (w & kSilent) != 0; break;
    default: break;
    }
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(checked ? 1 : 0);
}

//--- Text size

namespace {

const UINT kTextSizeLargest = 32774;
const UINT kTextSizeMedium = 32776;
const UINT kTextSizeSmallest = 32778;

} // namespace

// The page's zoom runs from 0 (smallest) to 4 (largest).
UINT CBrowserView::GetTextSize()
{
    if (m_pBrowser == nullptr)
        return kTextSizeMedium;
    CVariant zoom;
    if (FAILED(m_pBrowser->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, nullptr, &zoom)))
        return 0;
    if (SUCCEEDED(VariantChangeType(&zoom, &zoom, 0, VT_I4)) && zoom.lVal >= 0 && zoom.lVal <= 4)
        return kTextSizeSmallest - static_cast<UINT>(zoom.lVal);
    return 0;
}

void CBrowserView::OnTextSize(UINT nID)
{
    if (m_pBrowser == nullptr || nID < kTextSizeLargest || nID > kTextSizeSmallest)
        return;
    CVariant zoom;
    zoom.SetLong(static_cast<LONG>(kTextSizeSmallest - nID));
    m_pBrowser->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &zoom, nullptr);
}

//--- Flash hiding

void CBrowserView::HideFlashObjects()
{
    if (GetPageOptions() & kFlash)
        return;
    CComPtr<IDispatch> disp;
    disp.Attach(GetHtmlDocument());
    CComPtr<IHTMLDocument2> doc;
    doc.Attach(AsHtmlDocument(disp));
    if (doc == nullptr)
        return;
    if (HideFlashInFrames(doc) > 0)
        Host().SetStatusText(AppStrings().GetEtcText(kEtcFlashHidden));
}
