// PE layout: DOS header -> "PE\0\0" -> file header -> optional header, whose
// data directory 2 gives the resource directory's address, mapped to a file
// offset through the section table. Every read is bounds-checked, since the
// tests also feed it damaged files.
#include "tests/artwork/pe_resources.h"

#include "common/byte_order.h"
#include "common/file_bytes.h"
#include "common/fail.h"

namespace {

class Reader {
public:
    explicit Reader(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    bool Has(size_t offset, size_t size) const { return offset <= bytes_.size() && size <= bytes_.size() - offset; }
    uint16_t U16(size_t offset) const { return LittleEndian16(At(offset)); }
    uint32_t U32(size_t offset) const { return LittleEndian32(At(offset)); }
    const uint8_t* At(size_t offset) const { return bytes_.data() + offset; }

private:
    std::vector<uint8_t> bytes_;
};

struct Section {
    uint32_t address, size, file_offset, file_size;
};

struct Image {
    const Reader& file;
    std::vector<Section> sections;
    uint32_t resource_rva = 0, resource_offset = 0, resource_size = 0;

    // File offset of size bytes at an address, if they lie in a section's file data.
    bool Map(uint32_t rva, uint32_t size, size_t* offset) const
    {
        for (const Section& s : sections)
            if (rva >= s.address && rva - s.address < s.file_size && size <= s.file_size - (rva - s.address)) {
                *offset = size_t(s.file_offset) + (rva - s.address);
                return file.Has(*offset, size);
            }
        return false;
    }
};

// Names in the directory are counted UTF-16 strings; the tests only meet ASCII.
bool ReadName(const Image& image, uint32_t offset, std::string* name, std::string* error)
{
    const size_t at = size_t(image.resource_offset) + offset;
    if (offset >= image.resource_size || !image.file.Has(at, 2))
        return Fail(error, "resource name outside the directory");
    const uint16_t length = image.file.U16(at);
    if (!image.file.Has(at + 2, size_t(length) * 2))
        return Fail(error, "resource name runs past the end of the file");
    name->clear();
    for (uint16_t i = 0; i < length; ++i) {
        const uint16_t c = image.file.U16(at + 2 + 2 * i);
        name->push_back(c < 0x80 ? char(c) : '?');
    }
    return true;
}

// One directory table: calls visit(number, name, entry's target, is_subdirectory).
template <typename Visit>
bool ReadTable(const Image& image, uint32_t offset, Visit visit, std::string* error)
{
    const size_t at = size_t(image.resource_offset) + offset;
    if (offset >= image.resource_size || !image.file.Has(at, 16))
        return Fail(error, "resource directory table outside the section");
    const unsigned entries = unsigned(image.file.U16(at + 12)) + image.file.U16(at + 14);
    if (!image.file.Has(at + 16, size_t(entries) * 8))
        return Fail(error, "resource directory entries run past the end of the file");
    for (unsigned i = 0; i < entries; ++i) {
        const uint32_t name = image.file.U32(at + 16 + 8 * i), target = image.file.U32(at + 20 + 8 * i);
        std::string text;
        if ((name & 0x80000000u) && !ReadName(image, name & 0x7FFFFFFFu, &text, error))
            return false;
        if (!visit(name & 0x80000000u ? 0 : name, text, target & 0x7FFFFFFFu, (target & 0x80000000u) != 0))
            return false;
    }
    return true;
}

bool ReadResources(const Image& image, std::vector<PeResource>* resources, std::string* error)
{
    return ReadTable(
        image, 0,
        [&](uint32_t type, const std::string& type_name, uint32_t names, bool is_table) {
            if (!is_table)
                return Fail(error, "resource type entry is not a directory");
            return ReadTable(
                image, names,
                [&](uint32_t id, const std::string& id_name, uint32_t languages, bool is_table) {
                    if (!is_table)
                        return Fail(error, "resource name entry is not a directory");
                    return ReadTable(
                        image, languages,
                        [&](uint32_t language, const std::string&, uint32_t entry, bool is_table) {
                            const size_t at = size_t(image.resource_offset) + entry;
                            if (is_table || entry >= image.resource_size || !image.file.Has(at, 16))
                                return Fail(error, "bad resource data entry");
                            const uint32_t rva = image.file.U32(at), size = image.file.U32(at + 4);
                            size_t offset;
                            if (!image.Map(rva, size, &offset))
                                return Fail(error, "resource data outside the file");
                            PeResource resource;
                            resource.type = type;
                            resource.id = id;
                            resource.language = language;
                            resource.type_name = type_name;
                            resource.id_name = id_name;
                            resource.data.assign(image.file.At(offset), image.file.At(offset) + size);
                            resources->push_back(std::move(resource));
                            return true;
                        },
                        error);
                },
                error);
        },
        error);
}


}  // namespace

bool ReadPeResources(const std::string& path, std::vector<PeResource>* resources, std::string* error)
{
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, &bytes))
        return Fail(error, "cannot read " + path);
    const Reader file(std::move(bytes));
    if (!file.Has(0, 64) || file.U16(0) != 0x5A4D)
        return Fail(error, "no MZ header");
    const size_t pe = file.U32(0x3C);
    if (!file.Has(pe, 24) || file.U32(pe) != 0x00004550)
        return Fail(error, "no PE signature");
    const unsigned section_count = file.U16(pe + 6);
    const size_t optional = pe + 24, optional_size = file.U16(pe + 20);
    if (!file.Has(optional, optional_size) || optional_size < 2)
        return Fail(error, "optional header runs past the end of the file");
    const uint16_t magic = file.U16(optional);
    if (magic != 0x10B && magic != 0x20B)
        return Fail(error, "unknown optional header");
    // Data directories follow the fixed fields, 96 bytes of them in PE32, 112 in PE32+.
    const size_t directories = optional + (magic == 0x10B ? 96 : 112);
    const uint32_t directory_count = file.U32(directories - 4);
    if (directory_count < 3 || directories + 24 > optional + optional_size)
        return Fail(error, "no resource directory entry");

    Image image{file, {}};
    image.resource_rva = file.U32(directories + 16);
    image.resource_size = file.U32(directories + 20);
    const size_t table = optional + optional_size;
    if (!file.Has(table, size_t(section_count) * 40))
        return Fail(error, "section table runs past the end of the file");
    for (unsigned i = 0; i < section_count; ++i) {
        const size_t at = table + 40 * i;
        image.sections.push_back({file.U32(at + 12), file.U32(at + 8), file.U32(at + 20), file.U32(at + 16)});
    }
    resources->clear();
    if (image.resource_rva == 0)
        return true;  // a module without resources
    size_t offset;
    if (!image.Map(image.resource_rva, image.resource_size, &offset))
        return Fail(error, "resource directory outside the file");
    image.resource_offset = uint32_t(offset);
    return ReadResources(image, resources, error);
}

const PeResource* FindPeResource(const std::vector<PeResource>& resources, uint32_t type, uint32_t id)
{
    for (const PeResource& r : resources)
        if (r.type == type && r.id == id && r.type_name.empty() && r.id_name.empty())
            return &r;
    return nullptr;
}
