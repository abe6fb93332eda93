// The data source of drags without data, and the drop target's test of a
// drag's offered formats on it (a data object that offers formats is the
// tree drop target's test, dialogs/tests/DragControlsTests.cpp).
#include <gtest/gtest.h>

#include "framework/ole/OleDataSource.h"
#include "framework/ole/OleDropTarget.h"

TEST(OleDataSourceTest, OffersNoFormatAndEndsOnReleaseOrEsc)
{
    COleDataSource* pSource = new COleDataSource;
    IDataObject* pData = pSource;
    FORMATETC text = { CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL };
    EXPECT_NE(S_OK, pData->QueryGetData(&text));
    STGMEDIUM medium = {};
    EXPECT_NE(S_OK, pData->GetData(&text, &medium));
    IEnumFORMATETC* pEnum = nullptr;
    ASSERT_EQ(S_OK, pData->EnumFormatEtc(DATADIR_GET, &pEnum));
    FORMATETC found = {};
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, pEnum->Next(1, &found, &fetched));
    EXPECT_EQ(0u, fetched);
    pEnum->Release();
    EXPECT_FALSE(COleDropTarget::OffersFormat(pData, CF_TEXT));
    EXPECT_FALSE(COleDropTarget::OffersFormat(nullptr, CF_TEXT));

    IDropSource* pDropSource = nullptr;
    ASSERT_EQ(S_OK, pData->QueryInterface(IID_IDropSource, reinterpret_cast<void**>(&pDropSource)));
    EXPECT_EQ(S_OK, pDropSource->QueryContinueDrag(FALSE, MK_LBUTTON));
    EXPECT_EQ(DRAGDROP_S_DROP, pDropSource->QueryContinueDrag(FALSE, 0));
    EXPECT_EQ(DRAGDROP_S_CANCEL, pDropSource->QueryContinueDrag(TRUE, MK_LBUTTON));
    pDropSource->Release();
    EXPECT_EQ(0u, pSource->Release());
}
