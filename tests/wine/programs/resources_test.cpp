// ZARO.gau's resources as Windows hands them out: the two bitmaps through
// the module handle (FindResource/LoadResource, then LoadImage as a host
// builds its elements), the version block through the version functions.
// Usage: resources_test.exe PATH\TO\ZARO.gau
#include <windows.h>

#include <string.h>

#include <initializer_list>

#include "tests/wine/wine_test.h"

namespace {

constexpr WORD UsEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);  // 0x0409

struct BitmapCase {
    const char* name;
    WORD id;
    DWORD stored_size;
    LONG width, height;
    WORD bits;
    DWORD image_size, colours_used;
};

const BitmapCase Bitmaps[] = {
    {"face", 4357, 1080040, 600, 600, 24, 1080000, 0},
    {"knob", 4358, 183200, 400, 457, 8, 182800, 90},
};

void CheckStoredBitmap(HMODULE module, const BitmapCase& c)
{
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(c.id), MAKEINTRESOURCEA(2));  // RT_BITMAP
    if (!ok(found != nullptr, "%s: FindResource(%u) failed, error %lu\n", c.name, c.id, GetLastError()))
        return;
    ok(FindResourceExA(module, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(c.id), UsEnglish) != nullptr,
       "%s: not stored under language 0x0409\n", c.name);
    ok(SizeofResource(module, found) == c.stored_size, "%s: stored size %lu, expected %lu\n", c.name,
       SizeofResource(module, found), c.stored_size);
    HGLOBAL loaded = LoadResource(module, found);
    const BITMAPINFOHEADER* header = loaded ? (const BITMAPINFOHEADER*)LockResource(loaded) : nullptr;
    if (!ok(header != nullptr, "%s: LoadResource/LockResource failed\n", c.name))
        return;
    ok(header->biSize == 40, "%s: header size %lu\n", c.name, header->biSize);
    ok(header->biWidth == c.width && header->biHeight == c.height, "%s: %ld x %ld, expected %ld x %ld\n", c.name,
       header->biWidth, header->biHeight, c.width, c.height);
    ok(header->biPlanes == 1 && header->biBitCount == c.bits, "%s: %u planes, %u bits\n", c.name, header->biPlanes,
       header->biBitCount);
    ok(header->biCompression == BI_RGB, "%s: compression %lu\n", c.name, header->biCompression);
    ok(header->biSizeImage == c.image_size, "%s: image size %lu\n", c.name, header->biSizeImage);
    ok(header->biXPelsPerMeter == 11811 && header->biYPelsPerMeter == 11811, "%s: %ld x %ld pixels per metre\n",
       c.name, header->biXPelsPerMeter, header->biYPelsPerMeter);
    ok(header->biClrUsed == c.colours_used && header->biClrImportant == 0, "%s: %lu colours used, %lu important\n",
       c.name, header->biClrUsed, header->biClrImportant);
}

struct PixelCase {
    int x, y;  // top-down, as the host addresses the face
    COLORREF colour;
    const char* what;
};

const PixelCase FacePixels[] = {
    {0, 0, RGB(0, 0, 0), "surround"},
    {300, 450, RGB(25, 25, 25), "dial"},
    {301, 299, RGB(255, 255, 255), "pivot mark"},
    {300, 29, RGB(102, 102, 102), "bezel"},
    {88, 77, RGB(150, 171, 111), "left pane"},
    {514, 79, RGB(150, 171, 111), "right pane"},
    {300, 599, RGB(0, 0, 0), "bottom row"},
};

const PixelCase KnobPixels[] = {
    {0, 0, RGB(0, 0, 0), "surround"},
    {201, 40, RGB(255, 255, 255), "index mark"},
    {7, 199, RGB(51, 51, 51), "rim"},
    {201, 456, RGB(0, 0, 0), "bottom row"},
};

// LoadImage both ways a host may: as a DIB section (format kept) and as a
// device bitmap; the pixels read back through a memory DC, top row first.
void CheckLoadedImage(HMODULE module, const BitmapCase& c, const PixelCase* pixels, int count)
{
    HBITMAP dib = (HBITMAP)LoadImageA(module, MAKEINTRESOURCEA(c.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (!ok(dib != nullptr, "%s: LoadImage as DIB section failed, error %lu\n", c.name, GetLastError()))
        return;
    DIBSECTION section;
    if (ok(GetObjectA(dib, sizeof section, &section) == sizeof section, "%s: not a DIB section\n", c.name)) {
        ok(section.dsBm.bmWidth == c.width && section.dsBm.bmHeight == c.height, "%s: loaded %ld x %ld\n", c.name,
           section.dsBm.bmWidth, section.dsBm.bmHeight);
        ok(section.dsBm.bmBitsPixel == c.bits, "%s: loaded with %u bits\n", c.name, section.dsBm.bmBitsPixel);
        ok(section.dsBmih.biHeight == c.height, "%s: DIB section is not bottom-up\n", c.name);
    }
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    for (int i = 0; i < count; ++i) {
        const COLORREF got = GetPixel(dc, pixels[i].x, pixels[i].y);
        ok(got == pixels[i].colour, "%s: %s at %d,%d is %06lx, expected %06lx\n", c.name, pixels[i].what,
           pixels[i].x, pixels[i].y, got, pixels[i].colour);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(dib);

    HBITMAP device = (HBITMAP)LoadImageA(module, MAKEINTRESOURCEA(c.id), IMAGE_BITMAP, 0, 0, 0);
    BITMAP info;
    ok(device && GetObjectA(device, sizeof info, &info) == sizeof info && info.bmWidth == c.width &&
           info.bmHeight == c.height,
       "%s: LoadImage as a device bitmap failed or changed its size\n", c.name);
    if (device)
        DeleteObject(device);
}

void CheckVersionBlock(HMODULE module, const char* path)
{
    ok(FindResourceExA(module, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1), UsEnglish) != nullptr,
       "version block 1 not stored under language 0x0409\n");
    DWORD ignored;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (!ok(size > 0, "GetFileVersionInfoSize failed, error %lu\n", GetLastError()))
        return;
    char* block = (char*)HeapAlloc(GetProcessHeap(), 0, size);
    if (!ok(GetFileVersionInfoA(path, 0, size, block), "GetFileVersionInfo failed\n"))
        return;

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (ok(VerQueryValueA(block, "\\", (void**)&fixed, &length) && length == sizeof *fixed,
           "no fixed file information\n")) {
        const struct {
            const char* field;
            DWORD got, expected;
        } fields[] = {
            {"signature", fixed->dwSignature, 0xFEEF04BD},
            {"structure version", fixed->dwStrucVersion, 0x00010000},
            {"file version (most significant)", fixed->dwFileVersionMS, 0x00010000},
            {"file version (least significant)", fixed->dwFileVersionLS, 0},
            {"product version (most significant)", fixed->dwProductVersionMS, 0x00010000},
            {"product version (least significant)", fixed->dwProductVersionLS, 0},
            {"flags mask", fixed->dwFileFlagsMask, 0x3F},
            {"flags", fixed->dwFileFlags, 0},
            {"operating system", fixed->dwFileOS, VOS_DOS_WINDOWS32},
            {"file type", fixed->dwFileType, VFT_APP},
            {"file subtype", fixed->dwFileSubtype, 0},
            {"file date (most significant)", fixed->dwFileDateMS, 0},
            {"file date (least significant)", fixed->dwFileDateLS, 0},
        };
        for (const auto& f : fields)
            ok(f.got == f.expected, "%s is %#lx, expected %#lx\n", f.field, f.got, f.expected);
    }

    WORD* translation = nullptr;
    ok(VerQueryValueA(block, "\\VarFileInfo\\Translation", (void**)&translation, &length) && length == 4 &&
           translation[0] == 0x0409 && translation[1] == 0x04B0,
       "Translation should be 0x0409, 0x04B0\n");

    const struct {
        const char* key;
        const char* value;  // null: any non-empty text
    } strings[] = {
        {"CompanyName", nullptr},    {"FileDescription", "ZARO Gauges"}, {"FileVersion", "1.0.0"},
        {"LegalCopyright", nullptr}, {"ProductName", "ZARO Gauges"},     {"ProductVersion", "1.0.0"},
    };
    for (const auto& s : strings) {
        char query[128];
        wsprintfA(query, "\\StringFileInfo\\040904b0\\%s", s.key);
        char* value = nullptr;
        const bool found = VerQueryValueA(block, query, (void**)&value, &length) && value;
        if (!ok(found, "%s missing\n", s.key))
            continue;
        if (s.value)
            ok(!strcmp(value, s.value), "%s is \"%s\", expected \"%s\"\n", s.key, value, s.value);
        else
            ok(value[0] != 0, "%s is empty\n", s.key);
    }
    // Exactly the six: the usual other keys are absent.
    for (const char* key : {"Comments", "InternalName", "OriginalFilename", "PrivateBuild"}) {
        char query[128];
        wsprintfA(query, "\\StringFileInfo\\040904b0\\%s", key);
        char* value = nullptr;
        ok(!VerQueryValueA(block, query, (void**)&value, &length), "unexpected string %s\n", key);
    }
    HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        printf("usage: resources_test PATH\\TO\\ZARO.gau\n");
        return 2;
    }
    HMODULE module = LoadLibraryExA(argv[1], nullptr, 0);
    if (!ok(module != nullptr, "LoadLibraryEx(%s) failed, error %lu\n", argv[1], GetLastError()))
        return wine_test_summary("resources_test");
    for (const BitmapCase& c : Bitmaps)
        CheckStoredBitmap(module, c);
    CheckLoadedImage(module, Bitmaps[0], FacePixels, sizeof FacePixels / sizeof *FacePixels);
    CheckLoadedImage(module, Bitmaps[1], KnobPixels, sizeof KnobPixels / sizeof *KnobPixels);
    CheckVersionBlock(module, argv[1]);
    FreeLibrary(module);
    return wine_test_summary("resources_test");
}
