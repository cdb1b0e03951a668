#include "firmware/BuiltInFirmwareClass.h"
#include "firmware/SysexImage.h"

#include <gtest/gtest.h>

namespace
{
juce::MemoryBlock readFile (const juce::File& file)
{
    juce::MemoryBlock block;
    EXPECT_TRUE (file.loadFileAsData (block)) << file.getFullPathName();
    return block;
}
} // namespace

TEST (FirmwareDescriptor, BaseConstructorHoldsNoImage)
{
    const FirmwareBaseClass descriptor ("Name", "2.0", 7);

    EXPECT_EQ (descriptor.getImageData(), nullptr);
    EXPECT_EQ (descriptor.getImageSize(), 0);
    EXPECT_EQ (descriptor.getProductName(), "Name");
    EXPECT_EQ (descriptor.getFirmwareVersion(), "2.0");
    EXPECT_EQ (descriptor.getReleaseNumber(), 7);
}

TEST (FirmwareDescriptor, BuiltInReportsItsValues)
{
    const BuiltInFirmwareClass builtIn;

    ASSERT_NE (builtIn.getImageData(), nullptr);
    EXPECT_EQ (builtIn.getImageSize(), 290533);
    EXPECT_EQ (builtIn.getProductName(), "TarnReverb");
    EXPECT_EQ (builtIn.getFirmwareVersion(), "1.1.00");
    EXPECT_EQ (builtIn.getReleaseNumber(), 1861);
}

TEST (FirmwareDescriptor, BuiltInImageCutsIntoTheOpeningBlocksAndClosingMessages)
{
    const BuiltInFirmwareClass builtIn;
    const auto* data = builtIn.getImageData();
    const auto messages = SysexImage::splitMessages (data, builtIn.getImageSize());

    ASSERT_EQ (messages.size(), 487);
    EXPECT_EQ (messages.getFirst().getStart(), 0);
    EXPECT_EQ (messages.getLast().getEnd(), 290533);

    for (int i = 0; i < messages.size(); ++i)
    {
        const auto& message = messages.getReference (i);
        const bool shortMessage = i == 0 || i == messages.size() - 1;

        ASSERT_EQ (message.getLength(), shortMessage ? 9 : 599) << "message " << i;
        EXPECT_EQ (data[message.getStart()], 0xf0) << "message " << i;
        EXPECT_EQ (data[message.getStart() + 1], 0x00) << "three-byte manufacturer id, message " << i;
        EXPECT_EQ (data[message.getStart() + 4], 0x00) << "device byte, message " << i;
        EXPECT_EQ (data[message.getStart() + 5], data[5]) << "one model byte, message " << i;
    }

    // Command byte and first data byte of the opening, a data and the closing message.
    EXPECT_EQ (data[6], 0x51);
    EXPECT_EQ (data[7], 0x01);
    EXPECT_EQ (data[messages[1].getStart() + 6], 0x52);
    EXPECT_EQ (data[messages[1].getStart() + 7], 0x00);
    EXPECT_EQ (data[messages.getLast().getStart() + 6], 0x52);
    EXPECT_EQ (data[messages.getLast().getStart() + 7], 0x01);

    EXPECT_TRUE (SysexImage::check (data, builtIn.getImageSize()).wasOk());
}

TEST (FirmwareDescriptor, SetProductNameChangesOnlyTheName)
{
    BuiltInFirmwareClass builtIn;
    const auto* data = builtIn.getImageData();

    builtIn.setProductName ("Lantern Reverb");

    EXPECT_EQ (builtIn.getProductName(), "Lantern Reverb");
    EXPECT_EQ (builtIn.getFirmwareVersion(), "1.1.00");
    EXPECT_EQ (builtIn.getReleaseNumber(), 1861);
    EXPECT_EQ (builtIn.getImageData(), data);
    EXPECT_EQ (builtIn.getImageSize(), 290533);
}

TEST (FirmwareDescriptor, BuiltInImageIsTheCheckedInFileAndSurvivesItsDescriptors)
{
    const auto expected = readFile (juce::File (BRINDLE_FIRMWARE_FILE));
    const juce::uint8* data = nullptr;

    {
        const BuiltInFirmwareClass first;
        data = first.getImageData();
    }

    const BuiltInFirmwareClass second;
    ASSERT_EQ (second.getImageData(), data);
    ASSERT_EQ ((size_t) second.getImageSize(), expected.getSize());
    EXPECT_EQ (std::memcmp (data, expected.getData(), expected.getSize()), 0);
}

TEST (FirmwareDescriptor, PlaceholderGeneratorReproducesTheCheckedInImage)
{
    const auto checkedIn = readFile (juce::File (BRINDLE_FIRMWARE_FILE));
    const juce::uint8 placeholderStart[] = { 0xf0, 0x00, 0x7f, 0x7f };
    if (checkedIn.getSize() < 4 || std::memcmp (checkedIn.getData(), placeholderStart, 4) != 0)
        GTEST_SKIP() << "the built-in image is the maker's firmware, not the placeholder";

    const auto output = juce::File::createTempFile (".syx");
    const juce::String command = juce::String ("\"") + MAKE_PLACEHOLDER_FIRMWARE + "\" \"" + output.getFullPathName() + "\"";

    ASSERT_EQ (std::system (command.toRawUTF8()), 0);
    EXPECT_EQ (readFile (output), checkedIn);
    output.deleteFile();
}
