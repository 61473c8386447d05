#include "gauge_host/windows/module_loader.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include "gauge_host/core/pe_header.h"

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

}  // namespace

bool LoadGaugeModule(const char* path, const char* gauge_name, HostPanelService* services,
                     LoadedModule* module, std::string* error)
{
    *module = {};
    std::string message;
    if (!CheckFileHead(path, &message))
        return Fail(module, error, path, message);

    // The file named, by its full path: a bare name would send LoadLibrary
    // searching the program's own folder first, past the file just checked.
    char full_path[MAX_PATH];
    const DWORD length = GetFullPathNameA(path, sizeof full_path, full_path, nullptr);
    if (length == 0 || length >= sizeof full_path)
        return Fail(module, error, path, "cannot make a full path of it");
    // No dialog boxes from the loader: a bad file is an error line, not a popup.
    const UINT old_mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    module->library = LoadLibraryExA(full_path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    const DWORD load_error = GetLastError();
    SetErrorMode(old_mode);
    if (!module->library)
        return Fail(module, error, path, "Windows cannot load it as a DLL (error " + std::to_string(load_error) + ")");

    module->imports = reinterpret_cast<GAUGESIMPORT*>(GetProcAddress(module->library, "ImportTable"));
    module->linkage = reinterpret_cast<GAUGESLINKAGE*>(GetProcAddress(module->library, "Linkage"));
    if (!module->imports)
        return Fail(module, error, path, "no export named ImportTable");
    if (!module->linkage)
        return Fail(module, error, path, "no export named Linkage");
    if (!MapImage(module->library, &module->image))
        return Fail(module, error, path, "the loaded image has pages that cannot be read");
    if (!WalkModule(module->image, reinterpret_cast<uintptr_t>(module->imports),
                    reinterpret_cast<uintptr_t>(module->linkage), &module->records, &message) ||
        !CheckWritable(module->records, &message))
        return Fail(module, error, path, message);

    const std::vector<GaugeRecords>& gauges = module->records.gauges;
    module->selected = 0;
    while (gauge_name && module->selected < gauges.size() && gauges[module->selected].name != gauge_name)
        ++module->selected;
    if (module->selected == gauges.size()) {
        std::string names;
        for (const GaugeRecords& gauge : gauges)
            names += (names.empty() ? "\"" : ", \"") + gauge.name + "\"";
        return Fail(module, error, path, "no gauge named \"" + std::string(gauge_name) + "\" (it has " + names + ")");
    }
    module->gauge = static_cast<GAUGEHDR*>(module->image.At(module->Selected().header_address));
    *static_cast<void**>(module->image.At(module->records.service_entry)) = services;
    return true;
}

void UnloadGaugeModule(LoadedModule* module)
{
    if (module->library)
        FreeLibrary(module->library);
    *module = {};
}
