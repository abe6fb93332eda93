// GDI objects and device contexts: ownership, drawing, off-screen copies.
#include <gtest/gtest.h>

#include "framework/gdi/DC.h"

namespace {

// A 40 x 30 screen-compatible bitmap to draw into.
class DrawTarget
{
public:
    DrawTarget()
    {
        m_dc.CreateCompatibleDC(nullptr);
        HDC hScreen = ::GetDC(nullptr);
        m_bitmap.CreateCompatibleBitmap(hScreen, 40, 30);
        ::ReleaseDC(nullptr, hScreen);
        m_dc.SelectObject(m_bitmap);
    }
    CDC m_dc;

private:
    CBitmap m_bitmap;  // goes after the DC put its state back
};

TEST(GdiTest, ObjectsOwnTheirHandleUntilDetached)
{
    HGDIOBJ hBrush = nullptr;
    {
        CBrush brush(RGB(1, 2, 3));
        hBrush = brush.GetSafeHandle();
        ASSERT_NE(nullptr, hBrush);
        EXPECT_FALSE(brush.Attach(::GetStockObject(WHITE_BRUSH)));  // one handle at a time
        HGDIOBJ h = brush.Detach();
        EXPECT_EQ(hBrush, h);
        EXPECT_EQ(nullptr, brush.GetSafeHandle());
    }
    LOGBRUSH lb = {};
    EXPECT_NE(0, ::GetObjectA(hBrush, sizeof(lb), &lb));  // detached: still alive
    ::DeleteObject(hBrush);

    CBrush hollow;
    ASSERT_TRUE(hollow.CreateHollowBrush());
    EXPECT_EQ(::GetStockObject(HOLLOW_BRUSH), hollow.GetSafeHandle());
}

TEST(GdiTest, FillsAndEdgesLandOnTheirPixels)
{
    DrawTarget target;
    CDC& dc = target.m_dc;
    dc.FillSolidRect(0, 0, 40, 30, RGB(255, 255, 255));
    CRect rc(5, 5, 15, 12);
    dc.Draw3dRect(&rc, RGB(255, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(dc, 5, 5));
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(dc, 5, 10));
    EXPECT_EQ(RGB(0, 0, 255), ::GetPixel(dc, 14, 5));
    EXPECT_EQ(RGB(0, 0, 255), ::GetPixel(dc, 5, 11));
    EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(dc, 8, 8));
}

TEST(GdiTest, MemoryDCCopiesItsRectangleBackWhenItGoes)
{
    DrawTarget target;
    target.m_dc.FillSolidRect(0, 0, 40, 30, RGB(0, 0, 0));
    {
        CMemDC mem(target.m_dc, CRect(10, 10, 20, 20));
        mem.FillSolidRect(10, 10, 10, 10, RGB(0, 255, 0));
        EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(target.m_dc, 12, 12));  // not yet
    }
    EXPECT_EQ(RGB(0, 255, 0), ::GetPixel(target.m_dc, 12, 12));
    EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(target.m_dc, 9, 9));
}

TEST(GdiTest, SelectedObjectsAreRestoredWhenTheDCGoes)
{
    DrawTarget target;
    HGDIOBJ hOldFont = ::GetCurrentObject(target.m_dc, OBJ_FONT);
    {
        CDC dc;
        ASSERT_TRUE(dc.Attach(target.m_dc));
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(100, "Arial"));
        LOGFONTA lf = {};
        ASSERT_TRUE(font.GetLogFont(&lf));
        EXPECT_LT(lf.lfHeight, 0);
        dc.SelectObject(font);
        dc.Detach();
        ::SelectObject(target.m_dc, hOldFont);  // an attached DC is the caller's to restore
    }
    EXPECT_EQ(hOldFont, ::GetCurrentObject(target.m_dc, OBJ_FONT));
}

TEST(GdiTest, RegionsAndBitmapsFromMissingFiles)
{
    const POINT pts[] = { { 0, 0 }, { 10, 20 }, { 490, 20 }, { 500, 0 } };
    CRgn rgn;
    ASSERT_TRUE(rgn.CreatePolygonRgn(pts, 4, ALTERNATE));
    EXPECT_TRUE(rgn.PtInRegion(250, 10));
    EXPECT_FALSE(rgn.PtInRegion(2, 15));

    CBitmap bitmap;
    EXPECT_FALSE(bitmap.LoadFromFile("Z:\\no\\such\\file.bmp"));
    EXPECT_EQ(CSize(0, 0), bitmap.GetSize());
}

} // namespace
