// The script catalog: user scripts (JScript, VBScript, HTML) of the script
// folder, listed from "script.dat" or, without it, from every "*.js",
// "*.vbs" and "*.htm" of the folder, each named by the header it carries.
//
// Classes in this file:
//   CScriptItem   one script: path, header texts and icon
//   ScriptList    the ordered entries; position = script index
#ifndef VA_LISTS_SCRIPTITEM_H
#define VA_LISTS_SCRIPTITEM_H

#include <windows.h>

#include <vector>

#include "framework/core/CString.h"
#include "shared/RecordPool.h"

//--- CScriptItem
class CScriptItem
{
public:
    CScriptItem() = default;
    ~CScriptItem();
    CScriptItem(const CScriptItem&) = delete;
    CScriptItem& operator=(const CScriptItem&) = delete;

    VA_POOLED_NEW(CScriptItem, kPoolScriptItem)

    // Sets the path and loads the icon file path + ".ico" (null when none).
    void SetPath(const CString& path);
    // Fills name, version, copyright and comment from the header of the
    // file at m_path; fileName (without folder) gives the header form by its
    // extension and the fallback of name and comment.
    void ReadHeader(const CString& fileName);

    bool IsShown() const { return !m_name.IsEmpty(); }

    CString m_path;
    CString m_name;
    CString m_version;
    CString m_copyright;
    CString m_comment;
    HICON m_hIcon = nullptr;  // owned
};

//--- ScriptList
typedef std::vector<CScriptItem*> ScriptList;

void DestroyScriptList(ScriptList& list);
// Rebuilds the list from folder's "script.dat", or from the folder's scripts
// when there is no such file; returns the number of entries.
int LoadScriptList(const CString& scriptFolder, ScriptList& list);

#endif // VA_LISTS_SCRIPTITEM_H
