#include "gauge_host/windows/module_resources.h"

#include <stdio.h>
#include <string.h>

namespace {

std::string ResourceText(LPCSTR id, bool is_type)
{
    if (!IS_INTRESOURCE(id))
        return id;
    const unsigned number = unsigned(reinterpret_cast<uintptr_t>(id));
    if (is_type) {
        switch (number) {
        case 2: return "bitmap";     // RT_BITMAP
        case 3: return "icon";       // RT_ICON
        case 6: return "string";     // RT_STRING
        case 14: return "icons";     // RT_GROUP_ICON
        case 16: return "version";   // RT_VERSION
        case 24: return "manifest";  // RT_MANIFEST
        }
        return "type " + std::to_string(number);
    }
    return std::to_string(number);
}

BOOL CALLBACK AddLanguage(HMODULE module, LPCSTR type, LPCSTR name, WORD language, LONG_PTR param)
{
    auto* entries = reinterpret_cast<std::vector<ResourceEntry>*>(param);
    HRSRC found = FindResourceExA(module, type, name, language);
    entries->push_back(
        {ResourceText(type, true), ResourceText(name, false), language, found ? SizeofResource(module, found) : 0});
    return TRUE;
}

BOOL CALLBACK AddName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param)
{
    EnumResourceLanguagesA(module, type, name, AddLanguage, param);
    return TRUE;
}

BOOL CALLBACK AddType(HMODULE module, LPSTR type, LONG_PTR param)
{
    EnumResourceNamesA(module, type, AddName, param);
    return TRUE;
}

std::string VersionText(DWORD most, DWORD least)
{
    char text[48];
    snprintf(text, sizeof text, "%u.%u.%u.%u", unsigned(HIWORD(most)), unsigned(LOWORD(most)),
             unsigned(HIWORD(least)), unsigned(LOWORD(least)));
    return text;
}

}  // namespace

bool LoadBitmapResource(void* resource, int32_t number, std::vector<uint8_t>* dib, std::string* error)
{
    HMODULE module = static_cast<HMODULE>(resource);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(number), MAKEINTRESOURCEA(2));  // RT_BITMAP
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) {
        *error = "no bitmap resource with this number in the module";
        return false;
    }
    const auto* first = static_cast<const uint8_t*>(bytes);
    dib->assign(first, first + SizeofResource(module, found));
    return true;
}

std::vector<ResourceEntry> ListResources(HMODULE module)
{
    std::vector<ResourceEntry> entries;
    EnumResourceTypesA(module, AddType, reinterpret_cast<LONG_PTR>(&entries));
    return entries;
}

void ReadVersionFacts(const char* path, ModuleFacts* facts)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    std::vector<uint8_t> block(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!size || !GetFileVersionInfoA(path, 0, size, block.data()) ||
        !VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || length < sizeof *fixed) {
        facts->version_error = "no version resource";
        return;
    }
    facts->file_version = VersionText(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
    facts->product_version = VersionText(fixed->dwProductVersionMS, fixed->dwProductVersionLS);

    // The first translation names the string table; US English Unicode if none.
    WORD* translation = nullptr;
    char table[16] = "040904b0";
    if (VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) &&
        length >= 4)
        snprintf(table, sizeof table, "%04x%04x", unsigned(translation[0]), unsigned(translation[1]));
    static const char* const keys[] = {
        "Comments",         "CompanyName",     "FileDescription", "FileVersion",
        "InternalName",     "LegalCopyright",  "LegalTrademarks", "OriginalFilename",
        "PrivateBuild",     "ProductName",     "ProductVersion",  "SpecialBuild",
    };
    for (const char* key : keys) {
        const std::string query = std::string("\\StringFileInfo\\") + table + "\\" + key;
        char* value = nullptr;
        if (VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) && value)
            facts->version_strings.push_back({key, std::string(value, strnlen(value, length))});
    }
}
