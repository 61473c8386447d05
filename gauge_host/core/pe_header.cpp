#include "gauge_host/core/pe_header.h"

#include <stdio.h>

#include "common/fail.h"
#include "common/byte_order.h"

namespace {

constexpr uint32_t PeOffsetField = 0x3C;  // e_lfanew in the DOS header
constexpr uint16_t MachineI386 = 0x014C, MachineAmd64 = 0x8664, MachineArm64 = 0xAA64;
constexpr uint16_t CharacteristicsDll = 0x2000;
constexpr uint16_t OptionalMagicPe32 = 0x10B, OptionalMagicPe32Plus = 0x20B;

}  // namespace

bool CheckModuleHead(const uint8_t* bytes, size_t size, std::string* error)
{
    if (size < PeOffsetField + 4 || bytes[0] != 'M' || bytes[1] != 'Z')
        return Fail(error, "not a Windows module (no MZ header)");
    const uint32_t pe = LittleEndian32(bytes + PeOffsetField);
    // Signature, the 20-byte file header and the optional header's magic.
    if (pe > size - 26 || bytes[pe] != 'P' || bytes[pe + 1] != 'E' || bytes[pe + 2] || bytes[pe + 3])
        return Fail(error, "not a Windows module (an MZ file without a PE header)");
    const uint16_t machine = LittleEndian16(bytes + pe + 4), characteristics = LittleEndian16(bytes + pe + 22);
    const uint16_t magic = LittleEndian16(bytes + pe + 24);
    if (machine == MachineAmd64 || machine == MachineArm64 || magic == OptionalMagicPe32Plus)
        return Fail(error, std::string("a 64-bit (") + (machine == MachineArm64 ? "ARM64" : "x86-64") +
                               ") module; gauge modules are 32-bit x86 DLLs");
    if (machine != MachineI386 || magic != OptionalMagicPe32) {
        char text[96];
        snprintf(text, sizeof text, "a module for machine 0x%04X; gauge modules are 32-bit x86 DLLs", machine);
        return Fail(error, text);
    }
    if (!(characteristics & CharacteristicsDll))
        return Fail(error, "a Windows program, not a DLL");
    return true;
}
