#include <gtest/gtest.h>

#include <string>

#include "notice_driver.h"

#include <sddl.h>

namespace {

// A key under which everyone may set values but nobody may delete it (nor, therefore,
// open it for every right): what an administrator may hand a user. Its permissions are
// opened up again on destruction, so that the test's keys can be removed.
class KeyWithoutDelete {
public:
    explicit KeyWithoutDelete(const std::wstring& path) : path_(path)
    {
        created_ = setPermissions(L"D:(D;;SD;;;WD)(A;;KA;;;WD)");
    }
    ~KeyWithoutDelete() { setPermissions(L"D:(A;;KA;;;WD)"); }
    KeyWithoutDelete(const KeyWithoutDelete&) = delete;
    KeyWithoutDelete& operator=(const KeyWithoutDelete&) = delete;

    bool created() const { return created_; }

private:
    // Wine takes no permissions at creation: they are set on the key once it exists.
    bool setPermissions(const wchar_t* descriptor)
    {
        PSECURITY_DESCRIPTOR permissions = nullptr;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                                  &permissions, nullptr))
            return false;
        HKEY key = nullptr;
        bool set = RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, WRITE_DAC,
                                   nullptr, &key, nullptr) == ERROR_SUCCESS;
        if (set) {
            set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, permissions) == ERROR_SUCCESS;
            RegCloseKey(key);
        }
        LocalFree(permissions);
        return set;
    }

    std::wstring path_;
    bool created_ = false;
};

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
    const std::wstring name = keys.fresh(L"JobStorageTest NoDelete");
    KeyWithoutDelete restricted(preferenceKeyPath(name));
    ASSERT_TRUE(restricted.created());
    HKEY probe = nullptr;
    ASSERT_EQ(ERROR_ACCESS_DENIED,
              RegOpenKeyExW(HKEY_CURRENT_USER, preferenceKeyPath(name).c_str(), 0, KEY_ALL_ACCESS, &probe))
        << "the key must refuse every right at once";
    {
        Notice notice(noticeRequest(name.c_str()));
        ASSERT_NE(nullptr, notice.dialog());
        notice.check();
        ASSERT_TRUE(notice.pressOk());
    }
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
