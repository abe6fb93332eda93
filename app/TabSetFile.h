// Tab-set files: every tab group with its tabs, and for each tab its
// address, title, download-control flags and back and forward history.
// "Exception.dat" is the autosave; "WindowClose.dat" and
// "WindowCloseBack.dat" are read at start-up. Platform-free: the frame turns
// its groups into these records and opens the records it reads.
//
// Version 3 (written and read):
//   VADatFileVer003
//   FOLDER:
//   \tLABEL:caption  \tSTATE:options  \tICON:image
//   \tENTRY:  \t\tSTATE:flags  \t\tLABEL:title  \t\tURL:address
//             [\t\tBACKTITLE:t＾t  \t\tBACKURL:u＾u]  [\t\tFORETITLE:...  \t\tFOREURL:...]
//   \tENDENTRY:  (then \tENTRY: for the next tab)
//   ENDFOLDER:   (then FOLDER: for the next group)
// Version 2 (written without history, read with it):
//   VADatFileVer002, then per group FOLDER:, "caption｀options｀image",
//   ENTRY:, one "flags｀address＾address...[｀title＾title...]" line a tab,
//   ENDENTRY:, ENDFOLDER:.
//
// Classes in this file:
//   TabSetFile::Tab     one tab as a tab set keeps it
//   TabSetFile::Group   one group with its tabs
#ifndef VA_APP_TABSETFILE_H
#define VA_APP_TABSETFILE_H

#include <vector>

#include "framework/core/Collections.h"
#include "framework/core/CString.h"
#include "tab/SavedHistory.h"

namespace TabSetFile {

extern const char kMagicV3[];
extern const char kMagicV2[];
// "＾" in cp932, between the items of a list.
extern const char kListSeparator[];
// The title written and read for a history entry without one.
extern const char kNoTitle[];

struct Tab
{
    long flags = 0;  // download-control word
    CString title;
    CString url;
    SavedHistory back;
    SavedHistory forward;
};

struct Group
{
    CString caption;  // the caption template
    long options = 0;
    int image = 0;
    std::vector<Tab> tabs;
};

// Splits a "＾" list by characters: "a＾＾b" gives "a", "", "b"; an empty text
// gives none.
void SplitList(const CString& text, CStringArray& items);
// Pairs up to the shorter of the two lists; an empty title becomes
// "notitle".
void PairHistory(const CStringArray& urls, const CStringArray& titles, SavedHistory& history);

// The whole text of a version-3 file (lines end with '\n').
CString FormatV3(const std::vector<Group>& groups);
// The whole text of a version-2 file without history: one address a tab.
CString FormatV2(const std::vector<Group>& groups);

// Readers of the lines of a file (line ends removed). defaultCaption stands
// for an empty group caption. Groups without a caption or without tabs are
// left out. false when the first line is not the version's own.
bool ParseV3(const CStringArray& lines, const CString& defaultCaption, std::vector<Group>& groups);
bool ParseV2(const CStringArray& lines, const CString& defaultCaption, std::vector<Group>& groups);

// A closed-tab set: a version-2 file whose tab lines have exactly two
// fields (no history), or any other file as plain "flags｀address" lines.
// Plain lines go to loose; a version-2 file fills groups.
void ParseClosedSet(const CStringArray& lines, const CString& defaultCaption,
                    std::vector<Group>& groups, std::vector<Tab>& loose);

// The lines of a file, or false when it cannot be opened. A read error ends
// the lines quietly.
bool ReadLines(LPCTSTR path, CStringArray& lines);
// Writes text over path whole or not at all: a temporary file, checked, is
// moved over it, so a failed write keeps the last good file.
[[nodiscard]] bool WriteWhole(LPCTSTR path, const CString& text);

} // namespace TabSetFile

#endif // VA_APP_TABSETFILE_H
