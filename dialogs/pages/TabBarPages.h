// The tab bar page (CDlgSetTab1, template 165) and the group-tab bar page
// (CDlgSetTab15, template 256) of the settings dialog, on one base that
// holds their common design controls and enabling rules.
#ifndef VA_DIALOGS_PAGES_TABBARPAGES_H
#define VA_DIALOGS_PAGES_TABBARPAGES_H

#include "dialogs/pages/SettingsPage.h"
#include "framework/win/ImageList.h"

// The look of one tab bar. "タブを表示する" enables the design controls;
// a bar on the left or right always uses buttons, a fixed width and
// several rows, so those three are then checked and disabled.
class CTabBarPage : public CSettingsPage
{
    DECLARE_DYNAMIC(CTabBarPage)

protected:
    CTabBarPage(UINT nIDTemplate, const PageField* fields, int nFields);

    // Fills the controls, runs the page's own rules, the design rule and
    // the position rule, then hides the gradient check.
    BOOL OnInitDialog() override;
    virtual void ApplyOwnRules() {}
    void ApplyDesignRule();
    void ApplyPositionRule();
    bool IsOn(int nID) const;

    DECLARE_MESSAGE_MAP()
    void OnDesign();
    void OnPosition(UINT nID);
};

class CDlgSetTab1 : public CTabBarPage
{
    DECLARE_DYNCREATE(CDlgSetTab1)

public:
    CDlgSetTab1();

protected:
    BOOL OnInitDialog() override;
    void ApplyOwnRules() override;

    DECLARE_MESSAGE_MAP()
    void OnLinkRule();
};

class CDlgSetTab15 : public CTabBarPage
{
    DECLARE_DYNCREATE(CDlgSetTab15)

public:
    CDlgSetTab15();
    ~CDlgSetTab15() override;

protected:
    BOOL OnInitDialog() override;
    void ApplyOwnRules() override;
    void OnSaveSettings() override;

    DECLARE_MESSAGE_MAP()
    void OnNewAction();
    void OnActiveTabUrl();
    void OnChangeImage();
    void OnPickImage(UINT nID);

private:
    void ShowImage();

    CImageList m_images;
    HICON m_hImage = nullptr;
    int m_nImage = 0;  // the image iTabImageDef_P gets
};

#endif // VA_DIALOGS_PAGES_TABBARPAGES_H
