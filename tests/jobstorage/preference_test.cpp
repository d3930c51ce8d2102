#include <gtest/gtest.h>

#include <string>

#include "jobstorage/preference.h"
#include "notice_driver.h"

namespace {

constexpr size_t kBaseUnits = 17;  // "Software\Norvale\"

std::wstring keyPath(const wchar_t* keyName)
{
    wchar_t path[kKeyPathUnits];
    buildPreferenceKeyPath(keyName, path);
    return path;
}

} // namespace

TEST(PreferenceKeyPath, NameFollowsTheBaseWithoutASeparator)
{
    EXPECT_EQ(L"Software\\Norvale\\Office1", keyPath(L"Office1"));
    EXPECT_EQ(L"Software\\Norvale\\", keyPath(L"")) << "empty name: the base, ending in a backslash";
    EXPECT_EQ(L"Software\\Norvale\\", keyPath(nullptr));
}

TEST(PreferenceKeyPath, NameThatDoesNotFitIsDroppedWhole)
{
    // The name fits while its length, the base length and both terminators make 260.
    const std::wstring fits(kKeyPathUnits - 2 - kBaseUnits, L'k');
    const std::wstring tooLong = fits + L'k';
    EXPECT_EQ(L"Software\\Norvale\\" + fits, keyPath(fits.c_str())) << fits.size() << " units";
    EXPECT_EQ(L"Software\\Norvale\\", keyPath(tooLong.c_str())) << tooLong.size() << " units";
    const std::wstring farTooLong(1000, L'k');
    EXPECT_EQ(L"Software\\Norvale\\", keyPath(farTooLong.c_str()));
}

TEST(StorePreference, WritesOneBinaryByteAndCreatesMissingKeys)
{
    PreferenceKeys keys;
    const std::wstring parent = keys.fresh(L"JobStorageTest Parent");
    const BYTE data = 0x01;
    EXPECT_EQ(1, storePreference((parent + L"\\Child").c_str(), kPreferenceValue, &data, 1));
    EXPECT_TRUE(keyExists(preferenceKeyPath(parent))) << "the missing parent is created";
    const StoredValue stored = readValue(preferenceKeyPath(parent + L"\\Child"));
    ASSERT_TRUE(stored.present);
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), stored.type);
    EXPECT_EQ(std::vector<BYTE>{0x01}, stored.data);
}

TEST(StorePreference, LongestNameThatFitsNamesTheKeyAndOneMoreGoesUnderTheBase)
{
    PreferenceKeys keys;
    keys.useBaseValue();
    const std::wstring fits = keys.fresh(std::wstring(kKeyPathUnits - 2 - kBaseUnits, L'n'));
    const std::wstring tooLong = fits + L'n';
    const BYTE checked = 0x00, unchecked = 0x01;

    EXPECT_EQ(1, storePreference(fits.c_str(), kPreferenceValue, &checked, 1));
    EXPECT_EQ(std::vector<BYTE>{0x00}, readValue(preferenceKeyPath(fits)).data);
    EXPECT_FALSE(readValue(kPreferenceBase).present) << "nothing under the base yet";

    EXPECT_EQ(1, storePreference(tooLong.c_str(), kPreferenceValue, &unchecked, 1));
    EXPECT_EQ(std::vector<BYTE>{0x01}, readValue(kPreferenceBase).data);
    EXPECT_FALSE(keyExists(preferenceKeyPath(tooLong))) << "never a key of the cut name";
}

namespace {

LSTATUS WINAPI refusedCreateKey(HKEY, LPCWSTR, DWORD, LPWSTR, DWORD, REGSAM,
                                const SECURITY_ATTRIBUTES*, PHKEY, LPDWORD)
{
    return ERROR_ACCESS_DENIED;
}

LSTATUS WINAPI refusedSetValue(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD)
{
    return ERROR_ACCESS_DENIED;
}

std::atomic<int> gKeysClosed{0};
decltype(&RegCloseKey) gRealCloseKey = nullptr;
LSTATUS WINAPI countingCloseKey(HKEY key)
{
    ++gKeysClosed;
    return gRealCloseKey(key);
}

} // namespace

// storePreference is linked into this program: its registry calls are this program's imports.
TEST(StorePreference, KeyThatCannotBeCreatedWritesNothing)
{
    PreferenceKeys keys;
    const std::wstring name = keys.fresh(L"JobStorageTest Refused");
    ImportPatch create(GetModuleHandleW(nullptr), "RegCreateKeyExW",
                       reinterpret_cast<void*>(refusedCreateKey));
    ASSERT_TRUE(create.applied());
    const BYTE data = 0x01;
    EXPECT_EQ(0, storePreference(name.c_str(), kPreferenceValue, &data, 1));
    EXPECT_FALSE(keyExists(preferenceKeyPath(name)));
}

TEST(StorePreference, ValueThatCannotBeSetReportsFailureAndClosesTheKey)
{
    PreferenceKeys keys;
    const std::wstring name = keys.fresh(L"JobStorageTest Unset");
    ImportPatch set(GetModuleHandleW(nullptr), "RegSetValueExW",
                    reinterpret_cast<void*>(refusedSetValue));
    ImportPatch close(GetModuleHandleW(nullptr), "RegCloseKey",
                      reinterpret_cast<void*>(countingCloseKey));
    ASSERT_TRUE(set.applied());
    ASSERT_TRUE(close.applied());
    gRealCloseKey = close.originalAs<decltype(&RegCloseKey)>();
    gKeysClosed = 0;
    const BYTE data = 0x01;
    EXPECT_EQ(0, storePreference(name.c_str(), kPreferenceValue, &data, 1));
    EXPECT_EQ(1, gKeysClosed.load()) << "the opened key is closed";
    EXPECT_FALSE(readValue(preferenceKeyPath(name)).present);
}
