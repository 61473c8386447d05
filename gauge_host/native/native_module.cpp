#include "gauge_host/native/native_module.h"

#include "face/face.h"
#include "module/exports.h"
#include "common/file_bytes.h"

// The linker's marks around the program's image.
extern "C" char __executable_start[], _end[];

namespace {

constexpr size_t BmpFileHeaderSize = 14;  // a resource holds the bitmap without it

bool ReadArtwork(const std::string& path, std::vector<uint8_t>* dib, std::string* error)
{
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, &bytes)) {
        *error = "cannot read " + path;
        return false;
    }
    if (bytes.size() < BmpFileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') {
        *error = path + " is not a .bmp file";
        return false;
    }
    dib->assign(bytes.begin() + BmpFileHeaderSize, bytes.end());
    return true;
}

}  // namespace

bool LoadNativeModule(const std::string& artwork_dir, NativeModule* module, std::string* error)
{
    auto* first = reinterpret_cast<uint8_t*>(__executable_start);
    module->image = {reinterpret_cast<uintptr_t>(first), first, size_t(_end - __executable_start)};
    if (!WalkModule(module->image, reinterpret_cast<uintptr_t>(&ImportTable), reinterpret_cast<uintptr_t>(&Linkage),
                    &module->records, error))
        return false;
    ImportTable.panels.address = PanelServiceTable();
    module->bitmaps = [artwork_dir](void*, int32_t number, std::vector<uint8_t>* dib, std::string* error) {
        if (number != FACE_BITMAP && number != KNOB_BITMAP) {
            *error = "no bitmap resource with this number in the module";
            return false;
        }
        return ReadArtwork(artwork_dir + (number == FACE_BITMAP ? "/face.bmp" : "/knob.bmp"), dib, error);
    };
    return true;
}
