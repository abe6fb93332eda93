#include "framework/core/Collections.h"

BOOL CMapStringToString::Lookup(LPCSTR key, CString& rValue) const
{
    Map::const_iterator it = m_map.find(CString(key));
    if (it == m_map.end())
        return FALSE;
    rValue = it->second;
    return TRUE;
}

void CMapStringToString::SetAt(LPCSTR key, LPCSTR newValue)
{
    // Copy first: newValue may be a value of this map.
    CString value(newValue);
    m_map[CString(key)] = std::move(value);
}

CString& CMapStringToString::operator[](LPCSTR key)
{
    return m_map[CString(key)];
}

BOOL CMapStringToString::RemoveKey(LPCSTR key)
{
    return m_map.erase(CString(key)) != 0;
}

// A POSITION is the address of the map entry to be returned next.
POSITION CMapStringToString::GetStartPosition() const
{
    if (m_map.empty())
        return nullptr;
    return reinterpret_cast<POSITION>(const_cast<Map::value_type*>(&*m_map.begin()));
}

void CMapStringToString::GetNextAssoc(POSITION& rNextPosition, CString& rKey, CString& rValue) const
{
    ASSERT(rNextPosition != nullptr);
    const Map::value_type* entry = reinterpret_cast<const Map::value_type*>(rNextPosition);
    Map::const_iterator next = m_map.upper_bound(entry->first);
    rKey = entry->first;
    rValue = entry->second;
    rNextPosition = next == m_map.end()
        ? nullptr
        : reinterpret_cast<POSITION>(const_cast<Map::value_type*>(&*next));
}
