// Writes the placeholder Lantern Reverb image: the real firmware's message layout with
// made-up contents, reproducible byte for byte.
//
//   make_placeholder_firmware OUTPUT.syx
//
// Every message: F0, manufacturer id (3 bytes, first 00), device 00, model, command,
// first data byte, further 7-bit data, F7.
//   opening message  9 bytes  command 0x51, first data byte 01
//   485 data blocks  599 bytes command 0x52, first data byte 00, block header + data in 8..597
//   closing message  9 bytes  command 0x52, first data byte 01

#include <cstdint>
#include <cstdio>
#include <vector>

namespace
{
const uint8_t manufacturerId[3] = { 0x00, 0x7f, 0x7f }; // not an assigned maker: a placeholder
const uint8_t deviceByte = 0x00;
const uint8_t modelByte = 0x4c;
const int numDataBlocks = 485;
const int dataBlockLength = 599;

void addHeader (std::vector<uint8_t>& out, uint8_t command, uint8_t firstDataByte)
{
    out.push_back (0xf0);
    out.insert (out.end(), manufacturerId, manufacturerId + 3);
    out.push_back (deviceByte);
    out.push_back (modelByte);
    out.push_back (command);
    out.push_back (firstDataByte);
}

void addShortMessage (std::vector<uint8_t>& out, uint8_t command, uint8_t firstDataByte)
{
    addHeader (out, command, firstDataByte);
    out.push_back (0xf7);
}

void addDataBlock (std::vector<uint8_t>& out, int blockIndex, uint32_t& seed)
{
    const size_t start = out.size();
    addHeader (out, 0x52, 0x00);

    // Block header: block number (14 bits) and block count (14 bits), 7 bits per byte.
    out.push_back ((uint8_t) ((blockIndex >> 7) & 0x7f));
    out.push_back ((uint8_t) (blockIndex & 0x7f));
    out.push_back ((uint8_t) ((numDataBlocks >> 7) & 0x7f));
    out.push_back ((uint8_t) (numDataBlocks & 0x7f));

    while (out.size() - start < (size_t) dataBlockLength - 1)
    {
        seed = seed * 1664525u + 1013904223u;
        out.push_back ((uint8_t) ((seed >> 24) & 0x7f));
    }

    out.push_back (0xf7);
}
} // namespace

int main (int argc, char* argv[])
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: %s OUTPUT.syx\n", argv[0]);
        return 2;
    }

    std::vector<uint8_t> image;
    uint32_t seed = 1861;

    addShortMessage (image, 0x51, 0x01);
    for (int block = 0; block < numDataBlocks; ++block)
        addDataBlock (image, block, seed);
    addShortMessage (image, 0x52, 0x01);

    FILE* file = std::fopen (argv[1], "wb");
    if (file == nullptr)
    {
        std::perror (argv[1]);
        return 1;
    }

    const bool written = std::fwrite (image.data(), 1, image.size(), file) == image.size();
    if (std::fclose (file) != 0 || ! written)
    {
        std::perror (argv[1]);
        return 1;
    }

    return 0;
}
