#include <gtest/gtest.h>

#include <string>

#include "notice_driver.h"

namespace {

decltype(&RegCreateKeyExW) gRealCreateKey = nullptr;
std::wstring gCreatedPath;
LSTATUS WINAPI recordingCreateKey(HKEY root, LPCWSTR path, DWORD reserved, LPWSTR keyClass,
                                  DWORD options, REGSAM access, LPSECURITY_ATTRIBUTES security,
                                  PHKEY key, LPDWORD disposition)
{
    gCreatedPath = path;
    return gRealCreateKey(root, path, reserved, keyClass, options, access, security, key, disposition);
}

LSTATUS WINAPI refusedCreateKey(HKEY, LPCWSTR, DWORD, LPWSTR, DWORD, REGSAM,
                                LPSECURITY_ATTRIBUTES, PHKEY, LPDWORD)
{
    return ERROR_ACCESS_DENIED;
}

} // namespace

TEST(JobStoragePreference, OkStoresZeroWhenCheckedAndOneWhenNot)
{
    PreferenceKeys keys;
    const std::wstring name = keys.fresh(L"JobStorageTest Office1");
    {
        Notice notice(noticeRequest(name.c_str()));
        ASSERT_NE(nullptr, notice.dialog());
        notice.check();
        ASSERT_TRUE(notice.pressOk());
    }
    StoredValue stored = readValue(preferenceKeyPath(name));
    ASSERT_TRUE(stored.present);
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), stored.type);
    EXPECT_EQ(std::vector<BYTE>{0x00}, stored.data) << "checked: do not show again";

    // A later notice, left unchecked, overwrites the choice.
    {
        Notice notice(noticeRequest(name.c_str()));
        ASSERT_NE(nullptr, notice.dialog());
        ASSERT_TRUE(notice.pressOk());
    }
    stored = readValue(preferenceKeyPath(name));
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), stored.type);
    EXPECT_EQ(std::vector<BYTE>{0x01}, stored.data) << "unchecked: show again";
}

TEST(JobStoragePreference, OkStoresUnderAKeyThatOnlyLetsValuesBeSet)
{
    PreferenceKeys keys;
    const std::wstring name = keys.fresh(L"JobStorageTest SetValueOnly");
    {
        RestrictedKey restricted(preferenceKeyPath(name), KEY_SET_VALUE);
        ASSERT_TRUE(restricted.restricted());
        for (const REGSAM more : {KEY_WRITE, KEY_ALL_ACCESS}) {
            HKEY probe = nullptr;
            ASSERT_EQ(ERROR_ACCESS_DENIED, RegOpenKeyExW(HKEY_CURRENT_USER, preferenceKeyPath(name).c_str(),
                                                         0, more, &probe))
                << "the key must refuse access 0x" << std::hex << more;
        }
        Notice notice(noticeRequest(name.c_str()));
        ASSERT_NE(nullptr, notice.dialog());
        notice.check();
        ASSERT_TRUE(notice.pressOk());
    }
    // Read once the key may be read again.
    const StoredValue stored = readValue(preferenceKeyPath(name));
    ASSERT_TRUE(stored.present) << "the user's choice was lost";
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), stored.type);
    EXPECT_EQ(std::vector<BYTE>{0x00}, stored.data);
}

TEST(JobStoragePreference, CloseBoxStoresNothing)
{
    PreferenceKeys keys;
    const std::wstring absent = keys.fresh(L"JobStorageTest Closed");
    {
        Notice notice(noticeRequest(absent.c_str()));
        ASSERT_NE(nullptr, notice.dialog());
        notice.check();
        ASSERT_TRUE(notice.pressCloseBox());
    }
    EXPECT_FALSE(keyExists(preferenceKeyPath(absent))) << "no key created";

    const std::wstring existing = keys.fresh(L"JobStorageTest Kept");
    {
        Notice notice(noticeRequest(existing.c_str()));
        ASSERT_NE(nullptr, notice.dialog());
        ASSERT_TRUE(notice.pressOk());
    }
    {
        Notice notice(noticeRequest(existing.c_str()));
        ASSERT_NE(nullptr, notice.dialog());
        notice.check();
        ASSERT_TRUE(notice.pressCloseBox());
    }
    EXPECT_EQ(std::vector<BYTE>{0x01}, readValue(preferenceKeyPath(existing)).data)
        << "the earlier value stays";
}

TEST(JobStoragePreference, EmptyKeyNameStoresUnderTheBaseKey)
{
    PreferenceKeys keys;
    keys.useBaseValue();
    ImportPatch create(libraryModule(), "RegCreateKeyExW", reinterpret_cast<void*>(recordingCreateKey));
    ASSERT_TRUE(create.applied());
    gRealCreateKey = create.originalAs<decltype(&RegCreateKeyExW)>();
    gCreatedPath.clear();
    {
        Notice notice(noticeRequest(L""));
        ASSERT_NE(nullptr, notice.dialog());
        notice.check();
        ASSERT_TRUE(notice.pressOk());
    }
    EXPECT_EQ(L"Software\\Norvale\\", gCreatedPath);
    EXPECT_EQ(std::vector<BYTE>{0x00}, readValue(kPreferenceBase).data);
}

TEST(JobStoragePreference, MissingKeyAndItsParentAreCreated)
{
    PreferenceKeys keys;
    const std::wstring parent = keys.fresh(L"JobStorageTest Site");
    const std::wstring name = parent + L"\\Office1";
    {
        Notice notice(noticeRequest(name.c_str()));
        ASSERT_NE(nullptr, notice.dialog());
        ASSERT_TRUE(notice.pressOk());
    }
    EXPECT_TRUE(keyExists(preferenceKeyPath(parent)));
    EXPECT_EQ(std::vector<BYTE>{0x01}, readValue(preferenceKeyPath(name)).data);
}

TEST(JobStoragePreference, KeyNameWithoutItsNulNamesTheKeyByItsFirst37Units)
{
    PreferenceKeys keys;
    const std::wstring name = keys.fresh(std::wstring(37, L'K'));
    JobStorageRequest request = noticeRequest();
    fillField(request.preferenceKeyName, L'K');
    // What follows the field in the record, which an unterminated read would take in.
    request.suffixFlagA = 0x004B004B;
    {
        Notice notice(request);
        ASSERT_NE(nullptr, notice.dialog());
        ASSERT_TRUE(notice.pressOk());
    }
    EXPECT_EQ(std::vector<BYTE>{0x01}, readValue(preferenceKeyPath(name)).data);
}

TEST(JobStoragePreference, KeyThatCannotBeCreatedStillEndsTheNotice)
{
    PreferenceKeys keys;
    const std::wstring name = keys.fresh(L"JobStorageTest Denied");
    ImportPatch create(libraryModule(), "RegCreateKeyExW", reinterpret_cast<void*>(refusedCreateKey));
    ASSERT_TRUE(create.applied());
    Notice notice(noticeRequest(name.c_str()));
    ASSERT_NE(nullptr, notice.dialog());
    EXPECT_TRUE(notice.pressOk()) << "the notice must close although nothing could be stored";
    EXPECT_FALSE(keyExists(preferenceKeyPath(name)));
}
