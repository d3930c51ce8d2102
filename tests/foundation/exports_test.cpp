#include <gtest/gtest.h>

#include <cstring>

#include "import_patch.h"
#include "printdialogs.h"

namespace {

HLOCAL WINAPI failingLocalAlloc(UINT, SIZE_T)
{
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

} // namespace

TEST(Exports, AreNamedAtOrdinalsOneToFour)
{
    HMODULE library = libraryModule();
    ASSERT_NE(nullptr, library);
    EXPECT_EQ(GetProcAddress(library, "IShowWarningDialog"), GetProcAddress(library, MAKEINTRESOURCEA(1)));
    EXPECT_EQ(GetProcAddress(library, "VDisplayDialog"), GetProcAddress(library, MAKEINTRESOURCEA(2)));
    EXPECT_EQ(GetProcAddress(library, "VJobStorageDialog"), GetProcAddress(library, MAKEINTRESOURCEA(3)));
    EXPECT_EQ(GetProcAddress(library, "IShowWarningDialogEx"), GetProcAddress(library, MAKEINTRESOURCEA(4)));
    EXPECT_NE(nullptr, GetProcAddress(library, MAKEINTRESOURCEA(4)));
    EXPECT_EQ(nullptr, GetProcAddress(library, MAKEINTRESOURCEA(5)));
}

TEST(Exports, ShowNothingWhenTheCopyCannotBeAllocated)
{
    ImportPatch patch(libraryModule(), "LocalAlloc", reinterpret_cast<void*>(failingLocalAlloc));
    ASSERT_TRUE(patch.applied());
    WarningRequest warning = {};
    warning.showDialog = 1;
    DuplexRequest duplex = {};
    duplex.continueFromDialog = 1;
    JobStorageRequest jobStorage = {};
    EXPECT_EQ(0, IShowWarningDialog(&warning));
    int ticked = -1;
    EXPECT_EQ(0, IShowWarningDialogEx(&warning, &ticked));
    EXPECT_EQ(0, ticked);
    EXPECT_EQ(0, VDisplayDialog(&duplex));
    duplex.continueFromDialog = 0;
    EXPECT_EQ(0, VDisplayDialog(&duplex));
    EXPECT_EQ(nullptr, VJobStorageDialog(&jobStorage));
}

TEST(Exports, RefuseANullRecord)
{
    EXPECT_EQ(0, IShowWarningDialog(nullptr));
    EXPECT_EQ(0, IShowWarningDialogEx(nullptr, nullptr));
    EXPECT_EQ(0, VDisplayDialog(nullptr));
    EXPECT_EQ(nullptr, VJobStorageDialog(nullptr));
}
