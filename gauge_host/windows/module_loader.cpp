#include "gauge_host/windows/module_loader.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include "gauge_host/core/module_calls.h"
#include "gauge_host/core/pe_header.h"
#include "gauge_host/windows/call_gate.h"

namespace {

bool Fail(LoadedModule* module, std::string* error, const char* path, const std::string& message)
{
    *error = std::string(path) + ": " + message;
    UnloadGaugeModule(module);
    return false;
}

bool CheckFileHead(const char* path, std::string* error)
{
    FILE* file = fopen(path, "rb");
    if (!file) {
        *error = std::string("cannot open: ") + strerror(errno);
        return false;
    }
    uint8_t head[PeHeadBytes];
    const size_t size = fread(head, 1, sizeof head, file);
    fclose(file);
    return CheckModuleHead(head, size, error);
}

// Every page of [address, address + size) committed and readable, or
// writable too when asked: the walk reads the image, the host writes into
// the element records.
bool Accessible(uintptr_t address, size_t size, bool writable)
{
    const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                           PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    const DWORD writes = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    const uintptr_t end = address + size;
    while (address < end) {
        MEMORY_BASIC_INFORMATION region;
        if (!VirtualQuery(reinterpret_cast<void*>(address), &region, sizeof region) || region.State != MEM_COMMIT ||
            (region.Protect & PAGE_GUARD) || !(region.Protect & (writable ? writes : readable)))
            return false;
        address = reinterpret_cast<uintptr_t>(region.BaseAddress) + region.RegionSize;
    }
    return true;
}

bool MapImage(HMODULE library, MemorySpan* image)
{
    auto* bytes = reinterpret_cast<uint8_t*>(library);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(bytes + dos->e_lfanew);
    *image = {reinterpret_cast<uintptr_t>(bytes), bytes, nt->OptionalHeader.SizeOfImage};
    return Accessible(image->base, image->size, false);
}

// The records the host writes into: the service entry and each string's
// and needle's working fields.
bool CheckWritable(const ModuleRecords& records, std::string* message)
{
    if (!Accessible(records.service_entry, sizeof(void*), true)) {
        *message = "ImportTable lies in read-only memory, so the host cannot store its service table";
        return false;
    }
    for (const GaugeRecords& gauge : records.gauges)
        for (const ElementRecord& e : gauge.elements) {
            const size_t size = e.header.kind == ELEMENT_TYPE_STRING   ? sizeof(ELEMENT_STRING)
                                : e.header.kind == ELEMENT_TYPE_NEEDLE ? sizeof(ELEMENT_NEEDLE)
                                                                       : 0;
            if (size && !Accessible(e.address, size, true)) {
                *message = "gauge \"" + gauge.name + "\": element " + HexAddress(e.address) +
                           " lies in read-only memory, where the host keeps its working fields";
                return false;
            }
        }
    return true;
}

// The Windows loader's own call of the module's entry, watched by the gate
// when there is one.
template <class F>
auto LoaderCall(const char* name, F call)
{
    CallGate* gate = ActiveCallGate();
    return gate ? gate->Around(name, call) : call();
}

// Maps the file named, by its full path: a bare name would send LoadLibrary
// searching the program's own folder first, past the file just checked.
bool Open(const char* path, DWORD flags, LoadedModule* module, std::string* error)
{
    std::string message;
    if (!CheckFileHead(path, &message))
        return Fail(module, error, path, message);
    char full_path[MAX_PATH];
    const DWORD length = GetFullPathNameA(path, sizeof full_path, full_path, nullptr);
    if (length == 0 || length >= sizeof full_path)
        return Fail(module, error, path, "cannot make a full path of it");
    // No dialog boxes from the loader: a bad file is an error line, not a popup.
    const UINT old_mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    DWORD load_error = 0;
    module->library = LoaderCall("load entry", [&] {
        HMODULE library = LoadLibraryExA(full_path, nullptr, flags);
        load_error = GetLastError();
        return library;
    });
    SetErrorMode(old_mode);
    if (!module->library)
        return Fail(module, error, path, "Windows cannot load it as a DLL (error " + std::to_string(load_error) + ")");
    return true;
}

bool SelectGauge(const char* path, const char* gauge_name, LoadedModule* module, std::string* error)
{
    const std::vector<GaugeRecords>& gauges = module->records.gauges;
    module->selected = 0;
    while (gauge_name && module->selected < gauges.size() && gauges[module->selected].name != gauge_name)
        ++module->selected;
    if (module->selected < gauges.size())
        return true;
    std::string names;
    for (const GaugeRecords& gauge : gauges)
        names += (names.empty() ? "\"" : ", \"") + gauge.name + "\"";
    return Fail(module, error, path, "no gauge named \"" + std::string(gauge_name) + "\" (it has " + names + ")");
}

// An export's address by name, read from the image's export directory with
// every offset checked, for an image the loader mapped without running it.
bool FindExport(const MemorySpan& image, const IMAGE_NT_HEADERS& nt, const char* name, uintptr_t* address)
{
    const IMAGE_DATA_DIRECTORY& entry = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (nt.OptionalHeader.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_EXPORT ||
        !image.Contains(image.base + entry.VirtualAddress, sizeof(IMAGE_EXPORT_DIRECTORY)))
        return false;
    const auto& exports = *static_cast<const IMAGE_EXPORT_DIRECTORY*>(image.At(image.base + entry.VirtualAddress));
    const size_t length = strlen(name) + 1;
    for (DWORD i = 0; i < exports.NumberOfNames; ++i) {
        const uintptr_t name_entry = image.base + exports.AddressOfNames + 4 * uintptr_t(i);
        const uintptr_t ordinal_entry = image.base + exports.AddressOfNameOrdinals + 2 * uintptr_t(i);
        if (!image.Contains(name_entry, 4) || !image.Contains(ordinal_entry, 2))
            return false;
        const uintptr_t text = image.base + *static_cast<const DWORD*>(image.At(name_entry));
        if (!image.Contains(text, length) || memcmp(image.At(text), name, length) != 0)
            continue;
        const WORD ordinal = *static_cast<const WORD*>(image.At(ordinal_entry));
        const uintptr_t function_entry = image.base + exports.AddressOfFunctions + 4 * uintptr_t(ordinal);
        if (ordinal >= exports.NumberOfFunctions || !image.Contains(function_entry, 4))
            return false;
        *address = image.base + *static_cast<const DWORD*>(image.At(function_entry));
        return true;
    }
    return false;
}

}  // namespace

bool LoadGaugeModule(const char* path, const char* gauge_name, HostPanelService* services,
                     LoadedModule* module, std::string* error)
{
    *module = {};
    if (!Open(path, LOAD_WITH_ALTERED_SEARCH_PATH, module, error))
        return false;
    module->imports = reinterpret_cast<GAUGESIMPORT*>(GetProcAddress(module->library, "ImportTable"));
    module->linkage = reinterpret_cast<GAUGESLINKAGE*>(GetProcAddress(module->library, "Linkage"));
    if (!module->imports)
        return Fail(module, error, path, "no export named ImportTable");
    if (!module->linkage)
        return Fail(module, error, path, "no export named Linkage");
    std::string message;
    if (!MapImage(module->library, &module->image))
        return Fail(module, error, path, "the loaded image has pages that cannot be read");
    if (!WalkModule(module->image, reinterpret_cast<uintptr_t>(module->imports),
                    reinterpret_cast<uintptr_t>(module->linkage), &module->records, &message) ||
        !CheckWritable(module->records, &message))
        return Fail(module, error, path, message);
    if (!SelectGauge(path, gauge_name, module, error))
        return false;
    module->gauge = static_cast<GAUGEHDR*>(module->image.At(module->Selected().header_address));
    *static_cast<void**>(module->image.At(module->records.service_entry)) = services;
    // As a panel system does once a module is loaded.
    if (module->records.linkage.module_init)
        CallModule("module init routine", module->records.linkage.module_init);
    module->initialized = true;
    return true;
}

bool ReadGaugeModule(const char* path, const char* gauge_name, LoadedModule* module, std::string* error)
{
    *module = {};
    if (!Open(path, LOAD_LIBRARY_AS_IMAGE_RESOURCE, module, error))
        return false;
    // The handle of a resource mapping is tagged in its low bits.
    auto* bytes = reinterpret_cast<uint8_t*>(uintptr_t(module->library) & ~uintptr_t(3));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(bytes + dos->e_lfanew);
    // Nothing is relocated: the records hold addresses at the preferred base.
    module->image = {nt->OptionalHeader.ImageBase, bytes, nt->OptionalHeader.SizeOfImage};
    if (!Accessible(uintptr_t(bytes), module->image.size, false))
        return Fail(module, error, path, "the mapped image has pages that cannot be read");
    uintptr_t imports = 0, linkage = 0;
    if (!FindExport(module->image, *nt, "ImportTable", &imports))
        return Fail(module, error, path, "no export named ImportTable");
    if (!FindExport(module->image, *nt, "Linkage", &linkage))
        return Fail(module, error, path, "no export named Linkage");
    std::string message;
    if (!WalkModule(module->image, imports, linkage, &module->records, &message))
        return Fail(module, error, path, message);
    return SelectGauge(path, gauge_name, module, error);
}

void UnloadGaugeModule(LoadedModule* module)
{
    if (module->initialized && module->records.linkage.module_deinit)
        CallModule("module deinit routine", module->records.linkage.module_deinit);
    if (module->library)
        LoaderCall("unload entry", [&] { return FreeLibrary(module->library); });
    *module = {};
}
