// Crashes planted where the suite's own tests could meet one. Each of these tests would
// pass if it were judged by GoogleTest and the exit status alone; the test runner must
// report every one as a failure.
#include <gtest/gtest.h>

#include "warning_support.h"

namespace {

int* volatile gNowhere = nullptr;

void fault()
{
    *gNowhere = 1;
}

decltype(&EndDialog) gRealEndDialog = nullptr;
bool gFaulted = false;

BOOL WINAPI endDialogFaultingOnce(HWND dialog, INT_PTR result)
{
    if (!gFaulted) {
        gFaulted = true;
        fault();
    }
    return gRealEndDialog(dialog, result);
}

} // namespace

TEST(PlantedCrash, OnTheMainThread)
{
    fault();
}

// The warning's own procedure faults on a button pressed from the test's thread, as the
// tests press them; Wine carries on after it.
TEST(PlantedCrash, InADialogProcedure)
{
    ImportPatch patch(libraryModule(), "EndDialog", reinterpret_cast<void*>(endDialogFaultingOnce));
    ASSERT_TRUE(patch.applied());
    gRealEndDialog = patch.originalAs<decltype(&EndDialog)>();
    EXPECT_EQ(IDOK, showWarning(warningRequest(), [](HWND dialog) {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        pressButton(dialog, IDOK);
    }));
    EXPECT_TRUE(gFaulted);
}
