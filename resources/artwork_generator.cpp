// artwork_generator: draws the face and knob bitmaps of ZARO.gau and writes
// them, with PNG copies to look at, into the folder given:
//   artwork_generator DIR   ->  DIR/face.bmp DIR/knob.bmp DIR/face.png DIR/knob.png
// The output depends on nothing but this program, byte for byte.
#include <stdio.h>

#include "resources/artwork.h"
#include "common/png_writer.h"

namespace {

bool WriteBitmapAndPicture(const std::string& stem, const std::vector<uint8_t>& bmp, const Image& picture,
                           std::string* error)
{
    return WriteBytes(stem + ".bmp", bmp, error) &&
           WritePng((stem + ".png").c_str(), picture.width, picture.height, &picture.pixels[0].r,
                    picture.width * 3, error);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: artwork_generator OUTPUT_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::string error;
    const Image face = DrawFace();
    const IndexedImage knob = DrawKnob();
    if (!WriteBitmapAndPicture(dir + "/face", EncodeBgr24(face), face, &error) ||
        !WriteBitmapAndPicture(dir + "/knob", EncodeIndexed8(knob), ExpandPalette(knob), &error)) {
        fprintf(stderr, "artwork_generator: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
