#include "lists/ScriptItem.h"

#include "framework/core/File.h"
#include "lists/PlugInItem.h"

namespace {

// The header forms, chosen by the file's extension.
struct HeaderForm
{
    const char* extension;
    const char* magic;
    const char* prefix;
    const char* end;
};

const HeaderForm kForms[] = {
    {".JS", "//VantorelScriptFile1.00", "//", "//VantorelScriptEnd"},
    {".VBS", "'VantorelScriptFile1.00", "'", "'VantorelScriptEnd"},
    {".HTM", "<!--VantorelScriptFile1.00", "", "-->"},
};

// The extension from the last "." (the whole name without one).
CString ExtensionOf(const CString& fileName)
{
    int dot = fileName.ReverseFind('.');
    return dot >= 0 ? fileName.Mid(dot) : fileName;
}

const HeaderForm* FormOf(const CString& fileName)
{
    CString extension = ExtensionOf(fileName);
    for (const HeaderForm& form : kForms)
        if (extension.CompareNoCase(form.extension) == 0)
            return &form;
    return nullptr;
}

// When line begins with tag (without regard to case), the rest of it.
bool TakeTag(const CString& line, const CString& tag, CString& value)
{
    if (line.GetLength() < tag.GetLength() ||
        line.Left(tag.GetLength()).CompareNoCase(tag) != 0)
        return false;
    value = line.Mid(tag.GetLength());
    return true;
}

bool AppendScript(const CString& path, const CString& fileName, ScriptList& list)
{
    CScriptItem* item = new CScriptItem;
    if (item == nullptr)
        return false;
    item->SetPath(path);
    item->ReadHeader(fileName);
    list.push_back(item);
    return true;
}

} // namespace

CScriptItem::~CScriptItem()
{
    if (m_hIcon != nullptr)
        DestroyIcon(m_hIcon);
}

void CScriptItem::SetPath(const CString& path)
{
    m_path = path;
    if (m_hIcon != nullptr)
        DestroyIcon(m_hIcon);
    m_hIcon = static_cast<HICON>(
        LoadImageA(nullptr, path + ".ico", IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
}

void CScriptItem::ReadHeader(const CString& fileName)
{
    CStdioFile file;
    if (!file.Open(m_path, CFile::modeRead | CFile::typeText))
        return;
    const HeaderForm* form = FormOf(fileName);
    if (form != nullptr) {
        const CString prefix = form->prefix;
        bool inTags = false;
        bool endSeen = false;
        CString line, value;
        while (file.ReadString(line)) {
            line.Trim();
            if (!inTags) {
                inTags = line.CompareNoCase(form->magic) == 0;
                continue;
            }
            if (TakeTag(line, prefix + "@SCRIPT_NAME:", value))
                m_name = value;
            else if (TakeTag(line, prefix + "@VERSION:", value))
                m_version = value;
            else if (TakeTag(line, prefix + "@COPYRIGHT:", value))
                m_copyright = value;
            else if (TakeTag(line, prefix + "@COMMENT:", value)) {
                m_comment = value;
                inTags = false;
                if (endSeen)
                    break;
            } else if (line.CompareNoCase(form->end) == 0)
                endSeen = true;
        }
    }
    file.Close();
    if (m_name.IsEmpty())
        m_name = fileName;
    if (m_comment.IsEmpty())
        m_comment = fileName;
}

void DestroyScriptList(ScriptList& list)
{
    for (CScriptItem* item : list)
        delete item;
    list.clear();
}

int LoadScriptList(const CString& scriptFolder, ScriptList& list)
{
    DestroyScriptList(list);
    return ReadCatalog(scriptFolder, "script.dat", {"*.js", "*.vbs", "*.htm"},
                       [&](const CString& path, const CString& fileName, LPCTSTR pattern) {
                           // The folder's "*.htm" also matches longer
                           // extensions such as ".html": those are left out.
                           if (pattern != nullptr && CString(pattern) == "*.htm" &&
                               ExtensionOf(fileName).CompareNoCase(".htm") != 0)
                               return false;
                           return AppendScript(path, fileName, list);
                       });
}
