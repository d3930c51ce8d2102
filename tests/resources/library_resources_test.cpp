// What the DLL carries as resources at all: three types, each resource once, in US English.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "library_resources.h"

namespace {

std::vector<WORD> sorted(std::vector<WORD> values)
{
    std::sort(values.begin(), values.end());
    return values;
}

struct StoredResource {
    WORD type, id, language;
    DWORD codePage;
};

// The leaves of the image's resource directory (type, name, language), with the code page
// that only the directory itself records.
std::vector<StoredResource> storedResources(HMODULE module)
{
    std::vector<StoredResource> stored;
    const BYTE* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE];
    if (directory.VirtualAddress == 0)
        return stored;
    const BYTE* root = base + directory.VirtualAddress;
    auto entriesAt = [root](DWORD offset, std::vector<IMAGE_RESOURCE_DIRECTORY_ENTRY>& entries) {
        const auto* table = reinterpret_cast<const IMAGE_RESOURCE_DIRECTORY*>(root + offset);
        const auto* first = reinterpret_cast<const IMAGE_RESOURCE_DIRECTORY_ENTRY*>(table + 1);
        entries.assign(first, first + table->NumberOfNamedEntries + table->NumberOfIdEntries);
    };
    std::vector<IMAGE_RESOURCE_DIRECTORY_ENTRY> types, names, languages;
    entriesAt(0, types);
    for (const auto& type : types) {
        if (!type.DataIsDirectory)
            continue;
        entriesAt(type.OffsetToDirectory, names);
        for (const auto& name : names) {
            if (!name.DataIsDirectory)
                continue;
            entriesAt(name.OffsetToDirectory, languages);
            for (const auto& language : languages) {
                if (language.DataIsDirectory)
                    continue;
                const auto* data = reinterpret_cast<const IMAGE_RESOURCE_DATA_ENTRY*>(root + language.OffsetToData);
                stored.push_back({static_cast<WORD>(type.NameIsString ? 0 : type.Id),
                    static_cast<WORD>(name.NameIsString ? 0 : name.Id), language.Id, data->CodePage});
            }
        }
    }
    return stored;
}

} // namespace

TEST(LibraryResources, AreOnlyDialogsBitmapsAndOneVersion)
{
    LoadedLibrary library;
    ASSERT_NE(nullptr, library.module());
    const std::vector<WORD> types = sorted(resourceTypes(library.module()));
    const std::vector<WORD> expectedTypes = {LOWORD(RT_BITMAP), LOWORD(RT_DIALOG), LOWORD(RT_VERSION)};
    EXPECT_EQ(expectedTypes, types) << "resource types (2 bitmap, 5 dialog, 16 version)";
    const std::vector<WORD> dialogs = {101, 102, 103, 104, 261, 263};
    EXPECT_EQ(dialogs, sorted(resourceIds(library.module(), RT_DIALOG))) << "dialog template ids";
    EXPECT_EQ(std::vector<WORD>{1}, resourceIds(library.module(), RT_VERSION)) << "version resource ids";
}

TEST(LibraryResources, AreEachStoredOnceInUsEnglish)
{
    LoadedLibrary library;
    ASSERT_NE(nullptr, library.module());
    int resources = 0;
    for (WORD type : resourceTypes(library.module())) {
        for (WORD id : resourceIds(library.module(), MAKEINTRESOURCEW(type))) {
            ++resources;
            EXPECT_EQ(std::vector<WORD>{kUsEnglish}, resourceLanguages(library.module(), MAKEINTRESOURCEW(type), id))
                << "type " << type << ", id " << id << ": languages";
        }
    }
    EXPECT_EQ(6 + 29 + 1, resources) << "resources in all";
}

TEST(LibraryResources, RecordCodePageZero)
{
    LoadedLibrary library;
    ASSERT_NE(nullptr, library.module());
    const std::vector<StoredResource> stored = storedResources(library.module());
    EXPECT_EQ(6u + 29u + 1u, stored.size()) << "resources in the image's directory";
    for (const StoredResource& resource : stored)
        EXPECT_EQ(0u, resource.codePage) << "type " << resource.type << ", id " << resource.id << ", language 0x"
                                         << std::hex << resource.language;
}
