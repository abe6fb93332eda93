// Collections of the framework.
//
// Classes in this file:
//   CArray<TYPE, ARG_TYPE>        growable array of values
//   CStringArray                  array of CString
//   CPtrArray                     array of void*
//   CTypedPtrArray<BASE, TYPE>    array of typed pointers
//   CMapStringToString            CString to CString map
//
// Indexes are INT_PTR. An out-of-range index is a caller bug: it asserts in
// debug builds, as the element accessors do not check in release builds.
#ifndef VA_FRAMEWORK_CORE_COLLECTIONS_H
#define VA_FRAMEWORK_CORE_COLLECTIONS_H

#include <map>
#include <type_traits>
#include <vector>

#include "framework/core/CString.h"
#include "framework/core/Types.h"

//--- CArray
template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray
{
public:
    CArray() = default;
    CArray(const CArray&) = default;
    CArray(CArray&&) noexcept = default;
    CArray& operator=(const CArray&) = default;
    CArray& operator=(CArray&&) noexcept = default;
    ~CArray() = default;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return m_data.empty(); }

    // New elements are value-initialised (zero for numbers and pointers).
    // nGrowBy is accepted for familiarity; growth is the vector's.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        (void)nGrowBy;
        ASSERT(nNewSize >= 0);
        m_data.resize(static_cast<size_t>(nNewSize));
    }

    const TYPE& GetAt(INT_PTR nIndex) const { ASSERT(IsValid(nIndex)); return m_data[static_cast<size_t>(nIndex)]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { ASSERT(IsValid(nIndex)); m_data[static_cast<size_t>(nIndex)] = newElement; }
    TYPE& ElementAt(INT_PTR nIndex) { ASSERT(IsValid(nIndex)); return m_data[static_cast<size_t>(nIndex)]; }
    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
    TYPE* GetData() { return m_data.data(); }
    const TYPE* GetData() const { return m_data.data(); }

    // Returns the index of the new element.
    INT_PTR Add(ARG_TYPE newElement)
    {
        m_data.push_back(newElement);
        return GetSize() - 1;
    }

    // Inserts nCount copies before nIndex; an index past the end first grows
    // the array to nIndex.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1)
    {
        ASSERT(nIndex >= 0 && nCount >= 0);
        TYPE copy(newElement);  // newElement may refer into this array
        if (nIndex > GetSize())
            SetSize(nIndex);
        m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), copy);
    }

    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        ASSERT(nIndex >= 0 && nCount >= 0 && nIndex + nCount <= GetSize());
        m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
    }

    void RemoveAll() { m_data.clear(); }

    // Returns the index of the first appended element.
    INT_PTR Append(const CArray& src)
    {
        INT_PTR nOldSize = GetSize();
        if (&src == this) {
            std::vector<TYPE> copy(src.m_data);
            m_data.insert(m_data.end(), copy.begin(), copy.end());
        } else {
            m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
        }
        return nOldSize;
    }

    void Copy(const CArray& src)
    {
        if (&src != this)
            m_data = src.m_data;
    }

private:
    bool IsValid(INT_PTR nIndex) const { return nIndex >= 0 && nIndex < GetSize(); }

    std::vector<TYPE> m_data;
};

//--- CStringArray
class CStringArray : public CArray<CString, const CString&>
{
};

//--- CPtrArray
class CPtrArray : public CArray<void*, void*>
{
};

//--- CTypedPtrArray
// Holds TYPE pointers itself rather than casting void* slots, so that
// element references have their real type. BASE names the untyped array
// for familiarity; only CPtrArray is supported.
template <class BASE, class TYPE>
class CTypedPtrArray : public CArray<TYPE, TYPE>
{
    static_assert(std::is_same<BASE, CPtrArray>::value, "CTypedPtrArray supports CPtrArray only");
    static_assert(std::is_pointer<TYPE>::value, "CTypedPtrArray holds pointers");
};

//--- CMapStringToString
// Keys are compared as bytes, case-sensitively. Iteration runs in key order,
// so that it is the same on every run and every platform.
class CMapStringToString
{
public:
    INT_PTR GetCount() const { return static_cast<INT_PTR>(m_map.size()); }
    INT_PTR GetSize() const { return GetCount(); }
    BOOL IsEmpty() const { return m_map.empty(); }

    BOOL Lookup(LPCSTR key, CString& rValue) const;
    void SetAt(LPCSTR key, LPCSTR newValue);
    // Returns the value of key, adding an empty one if key is new.
    CString& operator[](LPCSTR key);
    BOOL RemoveKey(LPCSTR key);
    void RemoveAll() { m_map.clear(); }

    // Iteration: POSITION pos = map.GetStartPosition(); while (pos != NULL)
    // map.GetNextAssoc(pos, key, value); Changing the map invalidates pos.
    POSITION GetStartPosition() const;
    void GetNextAssoc(POSITION& rNextPosition, CString& rKey, CString& rValue) const;

private:
    struct KeyLess
    {
        bool operator()(const CString& a, const CString& b) const { return a < b; }
    };
    typedef std::map<CString, CString, KeyLess> Map;

    Map m_map;
};

#endif // VA_FRAMEWORK_CORE_COLLECTIONS_H
