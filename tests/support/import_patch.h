// Replaces a function that a loaded module imports, by patching the module's import
// address table, and restores it on destruction. Tests use it to fail platform calls
// or watch them (GetUserDefaultUILanguage, LocalAlloc, CreateThread, WinHelpW, ...).
#ifndef TESTS_IMPORT_PATCH_H
#define TESTS_IMPORT_PATCH_H

#include <windows.h>

#include <vector>

class ImportPatch {
public:
    ImportPatch(HMODULE module, const char* functionName, void* replacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    // False when the module imports no function of that name.
    bool applied() const { return !slots_.empty(); }
    // The function the import pointed to before the patch.
    void* original() const { return original_; }

    template <class Function>
    Function originalAs() const { return reinterpret_cast<Function>(original_); }

private:
    std::vector<void**> slots_;
    void* original_ = nullptr;
};

// The library under test, as loaded in this process.
HMODULE libraryModule();

#endif
