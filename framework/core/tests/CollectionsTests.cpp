#include "framework/core/Collections.h"

#include <gtest/gtest.h>

TEST(CArray, AddInsertRemove)
{
    CArray<int, int> a;
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetUpperBound(), -1);
    EXPECT_EQ(a.Add(10), 0);
    EXPECT_EQ(a.Add(30), 1);
    a.InsertAt(1, 20);
    a.InsertAt(0, 5, 2);
    ASSERT_EQ(a.GetSize(), 5);
    EXPECT_EQ(a[0], 5);
    EXPECT_EQ(a[1], 5);
    EXPECT_EQ(a[2], 10);
    EXPECT_EQ(a[3], 20);
    a.RemoveAt(0, 2);
    EXPECT_EQ(a.GetCount(), 3);
    EXPECT_EQ(a.GetAt(0), 10);
    a.ElementAt(2) = 31;
    a.SetAt(1, 21);
    EXPECT_EQ(a[1], 21);
    EXPECT_EQ(a[2], 31);
    a.InsertAt(5, 99);                        // past the end: grows, zero-filled
    ASSERT_EQ(a.GetSize(), 6);
    EXPECT_EQ(a[3], 0);
    EXPECT_EQ(a[5], 99);
    a.RemoveAll();
    EXPECT_TRUE(a.IsEmpty());
}

TEST(CArray, SetSizeZeroFillsAndInsertCopesWithAliasing)
{
    CArray<int, const int&> a;
    a.SetSize(3);
    EXPECT_EQ(a[2], 0);
    a[0] = 7;
    a.InsertAt(0, a[0], 100);                 // argument refers into the array
    EXPECT_EQ(a[99], 7);
    a.SetSize(1);
    EXPECT_EQ(a.GetSize(), 1);
}

TEST(CStringArray, AppendAndCopy)
{
    CStringArray a;
    a.Add("one");
    a.Add(CString("two"));
    a.Append(a);                              // appending itself
    ASSERT_EQ(a.GetSize(), 4);
    EXPECT_EQ(a[3], "two");

    CStringArray b;
    b.Add("x");
    b.Copy(a);
    EXPECT_EQ(b.GetSize(), 4);
    EXPECT_EQ(b[0], "one");
    EXPECT_EQ(b.Append(a), 4);
    EXPECT_EQ(b.GetSize(), 8);
}

TEST(CTypedPtrArray, HoldsTypedPointers)
{
    struct Item { int value; };
    Item x{1};
    Item y{2};
    CTypedPtrArray<CPtrArray, Item*> a;
    a.Add(&x);
    a.Add(nullptr);
    a[1] = &y;
    EXPECT_EQ(a.GetAt(1)->value, 2);

    CPtrArray p;
    p.Add(&x);
    EXPECT_EQ(static_cast<Item*>(p[0])->value, 1);
}

TEST(CMapStringToString, LookupSetRemove)
{
    CMapStringToString m;
    CString value("untouched");
    EXPECT_FALSE(m.Lookup("a", value));
    EXPECT_EQ(value, "untouched");

    m.SetAt("key", "v1");
    m.SetAt("Key", "v2");                     // keys are case-sensitive
    m.SetAt("key", "v3");
    EXPECT_EQ(m.GetCount(), 2);
    EXPECT_TRUE(m.Lookup("key", value));
    EXPECT_EQ(value, "v3");

    EXPECT_TRUE(m["new"].IsEmpty());          // operator[] creates
    EXPECT_EQ(m.GetCount(), 3);
    m["new"] = "v4";
    EXPECT_TRUE(m.Lookup("new", value));
    EXPECT_EQ(value, "v4");

    m.SetAt("copy", m["new"]);                // value taken from the map itself
    EXPECT_TRUE(m.Lookup("copy", value));
    EXPECT_EQ(value, "v4");

    EXPECT_TRUE(m.RemoveKey("key"));
    EXPECT_FALSE(m.RemoveKey("key"));
    EXPECT_FALSE(m.Lookup("key", value));
    m.RemoveAll();
    EXPECT_TRUE(m.IsEmpty());
    EXPECT_EQ(m.GetStartPosition(), nullptr);
}

TEST(CMapStringToString, IteratesEveryEntryOnceInByteOrder)
{
    CMapStringToString m;
    m.SetAt("b", "2");
    m.SetAt("\x83\x5c", "3");
    m.SetAt("a", "1");
    m.SetAt("B", "0");

    CString seen;
    CString key;
    CString value;
    for (POSITION pos = m.GetStartPosition(); pos != nullptr;) {
        m.GetNextAssoc(pos, key, value);
        seen += key + "=" + value + ";";
    }
    EXPECT_EQ(seen, "B=0;a=1;b=2;\x83\x5c=3;");
}
