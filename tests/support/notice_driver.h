// Opening, reading and closing job storage notices from a test, and reading back what
// they leave in the registry.
#ifndef TESTS_JOBSTORAGE_NOTICE_DRIVER_H
#define TESTS_JOBSTORAGE_NOTICE_DRIVER_H

#include <windows.h>

#include <sddl.h>

#include <atomic>
#include <cwchar>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "import_patch.h"
#include "printdialogs.h"
#include "resource.h"

// Copies `text` into a request field, cut to the field, NUL-terminated.
template <size_t Units>
void setField(WCHAR (&field)[Units], const std::wstring& text)
{
    const size_t length = text.size() < Units - 1 ? text.size() : Units - 1;
    wmemcpy(field, text.c_str(), length);
    field[length] = L'\0';
}

// Fills every unit of a field, leaving no NUL in it.
template <size_t Units>
void fillField(WCHAR (&field)[Units], wchar_t unit)
{
    wmemset(field, unit, Units);
}

inline JobStorageRequest noticeRequest(const wchar_t* keyName = L"")
{
    JobStorageRequest request = {};
    setField(request.userName, L"alice");
    setField(request.jobName, L"Report");
    setField(request.locationLine1, L"Printer: Hallway");
    setField(request.locationLine2, L"Job storage folder: Alice");
    setField(request.locationLine3, L"Keep until: printed");
    setField(request.preferenceKeyName, keyName);
    setField(request.resourceModulePath, besideTest(L"jobstorage_strings.dll"));
    setField(request.helpFilePath, L"C:\\help\\printing.hlp");
    return request;
}

// One notice: started by the export, found on screen, and closed and waited for (thread
// included) at the latest on destruction.
class Notice {
public:
    explicit Notice(const JobStorageRequest& request)
    {
        const std::vector<HWND> known = processDialogs();
        returned_ = VJobStorageDialog(&request);
        if (!returned_)
            return;
        dialog_ = waitForNewDialog(known);
        // The library may close the handle it returned at any thread exit: keep our own.
        if (dialog_)
            thread_ = OpenThread(SYNCHRONIZE, FALSE, GetWindowThreadProcessId(dialog_, nullptr));
    }
    ~Notice()
    {
        if (dialog_ && IsWindow(dialog_))
            PostMessageW(dialog_, WM_CLOSE, 0, 0);
        waitEnded();
        if (thread_)
            CloseHandle(thread_);
    }
    Notice(const Notice&) = delete;
    Notice& operator=(const Notice&) = delete;

    HANDLE returned() const { return returned_; }
    HWND dialog() const { return dialog_; }
    HWND item(int id) const { return GetDlgItem(dialog_, id); }
    std::wstring text(int id) const { return itemText(dialog_, id); }

    void check() const { SendMessageW(item(IDC_JOB_STORAGE_CHECK), BM_SETCHECK, BST_CHECKED, 0); }
    bool pressOk() const { pressButton(dialog_, IDOK); return waitEnded(); }
    // What the close box sends.
    bool pressCloseBox() const
    {
        PostMessageW(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
        return waitEnded();
    }
    // True once the window is gone and its thread has ended.
    bool waitEnded() const
    {
        if (dialog_ && !waitUntilGone(dialog_))
            return false;
        return !thread_ || WaitForSingleObject(thread_, kDialogTimeoutMs) == WAIT_OBJECT_0;
    }

private:
    HANDLE returned_ = nullptr;
    HWND dialog_ = nullptr;
    HANDLE thread_ = nullptr;
};

// Records every CloseHandle call the library makes while it lives.
class CloseHandleRecorder {
public:
    CloseHandleRecorder()
    {
        count_ = 0;
        original_ = patch_.originalAs<decltype(&CloseHandle)>();
    }
    bool applied() const { return patch_.applied(); }

    int timesClosed(HANDLE handle) const
    {
        int times = 0;
        const int recorded = count_ < kCapacity ? count_.load() : kCapacity;
        for (int i = 0; i < recorded; ++i)
            times += closed_[i] == handle ? 1 : 0;
        return times;
    }
    bool waitClosed(HANDLE handle) const
    {
        const DWORD start = GetTickCount();
        while (timesClosed(handle) == 0) {
            if (GetTickCount() - start >= kDialogTimeoutMs)
                return false;
            Sleep(5);
        }
        return true;
    }

private:
    // Called under the loader lock from DllMain: no locks, no allocation.
    static BOOL WINAPI record(HANDLE handle)
    {
        const int slot = count_++;
        if (slot < kCapacity)
            closed_[slot] = handle;
        return original_(handle);
    }

    static constexpr int kCapacity = 256;
    static inline std::atomic<HANDLE> closed_[kCapacity] = {};
    static inline std::atomic<int> count_{0};
    static inline decltype(&CloseHandle) original_ = nullptr;
    ImportPatch patch_{libraryModule(), "CloseHandle", reinterpret_cast<void*>(record)};
};

// The preference keys under HKEY_CURRENT_USER.
constexpr wchar_t kPreferenceBase[] = L"Software\\Norvale";
constexpr wchar_t kPreferenceValue[] = L"ShowJobStorageDlg";

inline std::wstring preferenceKeyPath(const std::wstring& keyName)
{
    return std::wstring(kPreferenceBase) + L"\\" + keyName;
}

inline bool keyExists(const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

struct StoredValue {
    bool present = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

inline StoredValue readValue(const std::wstring& path)
{
    StoredValue value;
    BYTE data[64] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), kPreferenceValue, RRF_RT_ANY,
                     &value.type, data, &size) != ERROR_SUCCESS)
        return value;
    value.present = true;
    value.data.assign(data, data + size);
    return value;
}

inline void deleteKeyTree(const std::wstring& path)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
}

// Removes the test's keys afterwards, and the base key too when the test created it.
class PreferenceKeys {
public:
    PreferenceKeys() : baseExisted_(keyExists(kPreferenceBase)) {}
    ~PreferenceKeys()
    {
        for (const std::wstring& name : names_)
            deleteKeyTree(preferenceKeyPath(name));
        if (usesBaseValue_)
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kPreferenceBase, kPreferenceValue);
        if (!baseExisted_)
            deleteKeyTree(kPreferenceBase);
    }
    PreferenceKeys(const PreferenceKeys&) = delete;
    PreferenceKeys& operator=(const PreferenceKeys&) = delete;

    // A key name of the test's own, absent when the test starts.
    std::wstring fresh(const std::wstring& name)
    {
        deleteKeyTree(preferenceKeyPath(name));
        names_.push_back(name);
        return name;
    }

    // The test writes the value under the base key itself: absent at the start, removed after.
    void useBaseValue()
    {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kPreferenceBase, kPreferenceValue);
        usesBaseValue_ = true;
    }

private:
    bool baseExisted_;
    bool usesBaseValue_ = false;
    std::vector<std::wstring> names_;
};

// A key below HKEY_CURRENT_USER that grants everyone `allowed` and nothing more (but the
// right to change its permissions, so that they can be opened up again on destruction
// and the key removed), as an administrator may hand a user. Wine takes no permissions at
// creation: they are set on the key once it exists.
class RestrictedKey {
public:
    RestrictedKey(const std::wstring& path, ACCESS_MASK allowed) : path_(path)
    {
        wchar_t rights[16];
        swprintf(rights, 16, L"0x%lx", static_cast<unsigned long>(allowed | WRITE_DAC));
        restricted_ = setPermissions(L"D:(A;;" + std::wstring(rights) + L";;;WD)");
    }
    ~RestrictedKey() { setPermissions(L"D:(A;;KA;;;WD)"); }
    RestrictedKey(const RestrictedKey&) = delete;
    RestrictedKey& operator=(const RestrictedKey&) = delete;

    bool restricted() const { return restricted_; }

private:
    bool setPermissions(const std::wstring& descriptor)
    {
        PSECURITY_DESCRIPTOR permissions = nullptr;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(descriptor.c_str(), SDDL_REVISION_1,
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
    bool restricted_ = false;
};

#endif
