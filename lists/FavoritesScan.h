// Building the favorites tree from the shell's Favorites folder, each folder
// in the order the shell's favorites menu shows it when asked to.
#ifndef VA_LISTS_FAVORITESSCAN_H
#define VA_LISTS_FAVORITESSCAN_H

#include <windows.h>

#include <string>

#include "lists/FavoriteTree.h"

struct FavoritesScanPlaces
{
    CString folder;           // the Favorites folder; empty when unknown or no ANSI path reaches it
    std::wstring wideFolder;  // the same as the system names it; empty: from folder
    CString rootLabel;        // label of the root
    BOOL ieOrder = FALSE;     // order folders by their order values
    CString orderKey;         // HKCU key of the root folder's order value
    CString orderValueName;   // name of the order value
};

// The URL of an internet shortcut: the rest of its first "URL=" line (the
// key in upper case). false when the file cannot be read or has no such line.
bool ReadShortcutUrl(const std::wstring& path, CString& url);

// The shell's Favorites folder ending with a backslash, for the ANSI
// functions (WidePath.h); wide, when given, receives it as the system names
// it. Empty when the system cannot name it, and when no path for the ANSI
// functions reaches it (wide then still names it).
CString GetFavoritesFolderPath(std::wstring* wide = nullptr);

// Runs the favorites organiser of the library (its DoOrganizeFavDlg, or
// DoOrganizeFavDlgW where no ANSI path reaches the folder) on the shell's
// Favorites folder; nothing without the folder or the entry.
void OrganizeFavoritesWith(HMODULE library, HWND owner);

// Rebuilds the tree from the folder, listed with the wide functions: labels
// are the names in the ANSI code page with the best fit, and paths are for
// the ANSI functions (WidePath.h); an item no such path reaches keeps its
// wide path for this run. Returns FALSE when the scan was
// aborted: the folder is unknown or cannot be listed (the tree is left with
// its root alone and an empty flat list). A subfolder that cannot be listed
// (held by another program, closed to this user) keeps what kept, when
// given, holds of the folder of that path, in its order; else it is left
// out. Junctions and links to folders are not entered. A cache must not be
// written from an aborted scan.
BOOL ScanFavorites(CFavoriteTree& tree, const FavoritesScanPlaces& places,
                   const CFavoriteTree* kept = nullptr);

// Whether a scan now may give another tree than the cache holds, told from
// the folders' listings and the order values' keys without reading a
// shortcut the cache holds: an item or folder written after the cache (its
// write time), an item the cache lacks that the scan would keep (one added,
// shown again, or left out by an older build; a shortcut of that kind is
// read to know), one the cache holds that the listing no longer shows
// (deleted or hidden), or, with the order values asked for, an order key
// written after the cache. Items whose names the code page spells alike
// are each compared with their own cached item; a subfolder that cannot be
// listed is taken as the cache holds it (the scan keeps that, given the
// cache). true when the Favorites folder cannot be listed.
bool FavoritesCacheStale(const FavoritesScanPlaces& places, const CFavoriteTree& cached,
                         const FILETIME& written);

// The order value of one folder (wide path ending with a backslash), read
// from orderKey under HKEY_CURRENT_USER (for a subfolder the key of the
// Favorites folder's value, a backslash and the folder's path below it, in
// its long names), as item names and order numbers; the records' item ID
// lists are resolved through the folder's shell folder. FALSE when the
// value is missing or names no item.
BOOL ReadFavoritesOrder(const std::wstring& folder, const std::wstring& orderKey,
                        const CString& valueName, FavoriteOrderMap& order);

#endif // VA_LISTS_FAVORITESSCAN_H
