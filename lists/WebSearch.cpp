#include "lists/WebSearch.h"

#include "lists/SearchUrl.h"

SearchPlan PlanEngineSearch(const CString& keyword, const CString& urlTemplate, bool reverse,
                            unsigned parentTabNewRule)
{
    SearchPlan plan;
    if (keyword.IsEmpty())
        return plan;
    CString url = BuildSearchUrl(keyword, urlTemplate);
    if (url.IsEmpty())
        return plan;
    plan.urls.Add(url);
    plan.pauseBefore.Add(0);
    plan.newGroup = reverse != ((parentTabNewRule & kRuleSearchNewGroup) != 0);
    plan.groupName = keyword;
    plan.reason = kReasonSearch;
    return plan;
}

SearchPlan PlanFolderSearch(const CString& keyword, const CSearchEngineNode& folder,
                            unsigned parentTabNewRule)
{
    SearchPlan plan;
    plan.batch = true;
    plan.reason = kReasonBatch;
    if (keyword.IsEmpty() || folder.IsEntry())
        return plan;
    for (INT_PTR i = 0; i < folder.GetChildCount(); ++i) {
        const CSearchEngineNode* child = folder.GetChild(i);
        if (!child->IsEntry() || child->m_url.IsEmpty())
            continue;
        CString url = BuildSearchUrl(keyword, child->m_url);
        if (url.IsEmpty())
            continue;
        plan.urls.Add(url);
        plan.pauseBefore.Add(i % 10 == 0 ? 1 : 0);
    }
    plan.newGroup = (parentTabNewRule & kRuleFolderSearchNewGroup) != 0 && !plan.IsEmpty();
    plan.groupName = folder.m_label;
    return plan;
}

int OpenSearchPlan(const SearchPlan& plan, ISearchTabs& tabs)
{
    if (plan.IsEmpty())
        return 0;
    CTabGroup* made = plan.newGroup ? tabs.CreateSearchGroup(plan.groupName, plan.batch) : nullptr;
    CTabGroup* group = made;
    if (plan.batch)
        tabs.BeginBatch();
    int opened = 0;
    int openedInMade = 0;
    for (INT_PTR i = 0; i < plan.urls.GetSize(); ++i) {
        if (plan.batch && plan.pauseBefore[i])
            tabs.PauseBatch();
        if (tabs.OpenSearchTab(group, plan.urls[i], plan.reason)) {
            ++opened;
            if (group != nullptr)
                ++openedInMade;
        } else if (!plan.batch) {
            break;
        } else {
            group = nullptr;  // the rest go to the current group
        }
    }
    // A group made for tabs that did not open (the tab limit, a mail
    // engine) does not stay empty on the bar.
    if (made != nullptr && openedInMade == 0)
        tabs.DiscardSearchGroup(made);
    if (plan.batch)
        tabs.EndBatch();
    return opened;
}

bool CWebSearch::SearchWithEngine(const CString& keyword, const CSearchEngineNode& engine,
                                  bool reverse, unsigned parentTabNewRule)
{
    if (keyword.IsEmpty() || !engine.IsEntry())
        return false;
    OpenSearchPlan(PlanEngineSearch(keyword, engine.m_url, reverse, parentTabNewRule), m_tabs);
    m_lastKeyword = keyword;
    return true;
}

bool CWebSearch::SearchDroppedText(const CString& text, int roleBit, unsigned parentTabNewRule)
{
    CSearchEngineNode* engine = m_tree.GetRoleHolder(roleBit);
    if (engine == nullptr)
        engine = m_tree.GetCurrentEngine();
    return engine != nullptr && SearchWithEngine(text, *engine, false, parentTabNewRule);
}

CWebSearch::Outcome CWebSearch::Run(UINT id, const CString& keyword, bool ctrl, bool shift,
                                    unsigned parentTabNewRule)
{
    if (keyword.IsEmpty() || m_tree.GetFlatCount() <= 1)
        return kNothing;
    if (id == kCmdRunSearch)
        id = 0;
    if (id < kCmdSearchEngineFirst) {
        CSearchEngineNode* current = m_tree.GetCurrentEngine();
        if (current == nullptr)
            return kNothing;
        SearchWithEngine(keyword, *current, ctrl || shift, parentTabNewRule);
        return kSearched;
    }
    CSearchEngineNode* node = m_tree.GetNode(static_cast<INT_PTR>(id - kCmdSearchEngineFirst));
    if (node == nullptr)
        return kNothing;
    if (node->IsEntry()) {
        if (ctrl || shift) {
            m_tree.SetCurrentEngine(node);
            if (!shift)
                return kFocusSearchBox;
        }
        SearchWithEngine(keyword, *node, false, parentTabNewRule);
        return kSearched;
    }
    OpenSearchPlan(PlanFolderSearch(keyword, *node, parentTabNewRule), m_tabs);
    m_lastKeyword = keyword;
    return kSearched;
}
