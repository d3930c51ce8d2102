// The library as a driver may treat it: loaded by path, called, and unloaded while a
// dialog it started is still open. This program imports nothing from the library, so
// the library is mapped only between LoadLibraryW and its last FreeLibrary.
#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "import_patch.h"
#include "printdialogs.h"
#include "resource.h"

namespace {

using DisplayDialog = INT_PTR(WINAPI*)(const DuplexRequest*);

// Waits until no module of that name is mapped any longer; false on time-out.
bool waitUntilUnloaded(const wchar_t* name)
{
    const DWORD start = GetTickCount();
    while (GetModuleHandleW(name)) {
        if (GetTickCount() - start >= kDialogTimeoutMs)
            return false;
        Sleep(5);
    }
    return true;
}

HANDLE WINAPI failingCreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID,
                                  DWORD, LPDWORD)
{
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

DuplexRequest threadedRequest()
{
    DuplexRequest request = {};
    request.step1BitmapId = 105;
    request.step2BitmapId = 106;
    request.step3BitmapId = 107;
    return request;
}

class Unload : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(nullptr, GetModuleHandleW(L"printdialogs.dll"))
            << "this program must not import the library";
        library_ = LoadLibraryW(besideTest(L"printdialogs.dll").c_str());
        ASSERT_NE(nullptr, library_);
        display_ = reinterpret_cast<DisplayDialog>(GetProcAddress(library_, "VDisplayDialog"));
        ASSERT_NE(nullptr, display_);
    }

    void TearDown() override
    {
        // A test that stopped half-way leaves its reference here.
        if (library_)
            FreeLibrary(library_);
    }

    HMODULE library_ = nullptr;
    DisplayDialog display_ = nullptr;
};

} // namespace

TEST_F(Unload, AnOpenDialogKeepsTheLibraryUntilItCloses)
{
    const DuplexRequest request = threadedRequest();
    const std::vector<HWND> known = processDialogs();
    ASSERT_NE(0, display_(&request));
    HWND dialog = waitForNewDialog(known);
    ASSERT_NE(nullptr, dialog);

    // The driver lets go of the library while the dialog is still on screen.
    EXPECT_TRUE(FreeLibrary(library_));
    library_ = nullptr;
    EXPECT_NE(nullptr, GetModuleHandleW(L"printdialogs.dll")) << "the dialog's thread holds it";
    Sleep(100);
    // Repainting runs the library's own code again.
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    Sleep(100);
    EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog goes on working";

    pressButton(dialog, IDOK);
    EXPECT_TRUE(waitUntilGone(dialog));
    EXPECT_TRUE(waitUntilUnloaded(L"printdialogs.dll")) << "the last reference went with the thread";
    Sleep(100);  // had the thread run on in unmapped code, the process would be gone by now
}

TEST_F(Unload, AFailedThreadStartKeepsNoReference)
{
    {
        // Restored before the library goes away.
        ImportPatch patch(library_, "CreateThread", reinterpret_cast<void*>(failingCreateThread));
        ASSERT_TRUE(patch.applied());
        const DuplexRequest request = threadedRequest();
        EXPECT_EQ(0, display_(&request));
    }
    EXPECT_TRUE(FreeLibrary(library_));
    library_ = nullptr;
    EXPECT_EQ(nullptr, GetModuleHandleW(L"printdialogs.dll"))
        << "one FreeLibrary undoes the one LoadLibraryW";
}
