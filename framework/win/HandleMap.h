// The maps from a system handle to its framework object.
//
// A permanent entry belongs to an object that the code created or attached
// and lives until it detaches (for windows: at WM_NCDESTROY). A temporary
// entry is a wrapper made on demand for a handle nobody attached; it holds
// only the handle, is deleted when the temporary maps are unlocked to zero
// (at idle count 1), and must not be kept across that point. The maps belong
// to the UI thread: windows and menus are made and used on that one thread.
#ifndef VA_FRAMEWORK_WIN_HANDLEMAP_H
#define VA_FRAMEWORK_WIN_HANDLEMAP_H

#include <iterator>
#include <unordered_map>

#include "framework/win/WinDefs.h"

template <class TObject, class THandle, THandle TObject::*kHandle>
class VaHandleMap
{
public:
    VaHandleMap() = default;
    VaHandleMap(const VaHandleMap&) = delete;
    VaHandleMap& operator=(const VaHandleMap&) = delete;

    TObject* LookupPermanent(THandle h) const
    {
        auto it = m_permanent.find(h);
        return it == m_permanent.end() ? nullptr : it->second;
    }

    // The permanent object, else a temporary wrapper (made now if needed).
    TObject* FromHandle(THandle h)
    {
        if (h == nullptr)
            return nullptr;
        if (TObject* p = LookupPermanent(h))
            return p;
        auto it = m_temporary.find(h);
        if (it != m_temporary.end())
            return it->second;
        TObject* p = new TObject;
        p->*kHandle = h;
        m_temporary[h] = p;
        return p;
    }

    void SetPermanent(THandle h, TObject* p) { m_permanent[h] = p; }
    void RemovePermanent(THandle h) { m_permanent.erase(h); }
    // Every permanent entry of the object goes; p is compared, not touched.
    void RemovePermanentObject(const TObject* p)
    {
        for (auto it = m_permanent.begin(); it != m_permanent.end();)
            it = it->second == p ? m_permanent.erase(it) : std::next(it);
    }

    void DeleteTemporary()
    {
        // Swapped out first: a destructor must find the map consistent.
        std::unordered_map<THandle, TObject*> temps;
        temps.swap(m_temporary);
        for (auto& entry : temps)
        {
            entry.second->*kHandle = nullptr;
            delete entry.second;
        }
    }

    size_t GetTemporaryCount() const { return m_temporary.size(); }

private:
    std::unordered_map<THandle, TObject*> m_permanent;
    std::unordered_map<THandle, TObject*> m_temporary;
};

// Temporary wrappers survive while the maps are locked; unlocking to zero
// deletes them (with bDeleteTemps). Returns TRUE when the count reached zero.
void AfxLockTempMaps();
BOOL AfxUnlockTempMaps(BOOL bDeleteTemps = TRUE);
BOOL AfxTempMapsLocked();

#endif // VA_FRAMEWORK_WIN_HANDLEMAP_H
