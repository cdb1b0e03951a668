#include "firmware/FileFirmwareClass.h"

#include <gtest/gtest.h>

namespace
{
class FileFirmwareTest : public ::testing::Test
{
protected:
    juce::TemporaryFile folder;

    void SetUp() override { ASSERT_TRUE (folder.getFile().createDirectory()); }
    void TearDown() override { folder.getFile().deleteRecursively(); }

    juce::File write (const juce::String& name, const juce::MemoryBlock& data)
    {
        auto file = folder.getFile().getChildFile (name);
        EXPECT_TRUE (file.replaceWithData (data.getData(), data.getSize()));
        return file;
    }

    static juce::MemoryBlock bytes (size_t count)
    {
        juce::MemoryBlock block (count);
        for (size_t i = 0; i < count; ++i)
            block[i] = (char) (i * 7);
        return block;
    }
};
} // namespace

TEST_F (FileFirmwareTest, LoadsTheWholeFileWithItsNameAsProduct)
{
    const auto data = bytes (1000);
    const auto file = write ("update.syx", data);
    const FileFirmwareClass firmware (file.getFullPathName());

    ASSERT_NE (firmware.getImageData(), nullptr);
    EXPECT_EQ (firmware.getImageSize(), 1000);
    EXPECT_EQ (std::memcmp (firmware.getImageData(), data.getData(), 1000), 0);
    EXPECT_EQ (firmware.getProductName(), "update");
    EXPECT_EQ (firmware.getFirmwareVersion(), "");
    EXPECT_EQ (firmware.getReleaseNumber(), 0);
}

TEST_F (FileFirmwareTest, ProductNameDropsOnlyTheLastExtension)
{
    const struct
    {
        const char* fileName;
        const char* productName;
    } cases[] = { { "my.fw.syx", "my.fw" }, { "fw", "fw" }, { "Pedal.syx", "Pedal" } };

    for (const auto& c : cases)
    {
        const FileFirmwareClass firmware (write (c.fileName, bytes (3)).getFullPathName());
        EXPECT_EQ (firmware.getProductName(), c.productName) << c.fileName;
    }
}

TEST_F (FileFirmwareTest, AnEmptyFileGivesNoImage)
{
    const auto file = folder.getFile().getChildFile ("empty.syx");
    ASSERT_TRUE (file.create());
    ASSERT_TRUE (file.existsAsFile());

    const FileFirmwareClass firmware (file.getFullPathName());

    EXPECT_EQ (firmware.getImageData(), nullptr);
    EXPECT_EQ (firmware.getImageSize(), 0);
}

TEST_F (FileFirmwareTest, AnUnreadableFileGivesNoImage)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root can read any file";

    const auto file = write ("locked.syx", bytes (10));
    ASSERT_TRUE (file.setReadOnly (true));
    ASSERT_EQ (chmod (file.getFullPathName().toRawUTF8(), 0), 0);

    const FileFirmwareClass firmware (file.getFullPathName());
    EXPECT_EQ (firmware.getImageData(), nullptr);
}

TEST_F (FileFirmwareTest, PathsAreUnquotedAndRelativeToTheWorkingDirectory)
{
    const auto file = write ("with blanks.syx", bytes (5));
    const auto previous = juce::File::getCurrentWorkingDirectory();
    ASSERT_TRUE (folder.getFile().setAsCurrentWorkingDirectory());

    EXPECT_EQ (FileFirmwareClass::resolvePath ("with blanks.syx"), file);
    EXPECT_EQ (FileFirmwareClass::resolvePath ("\"with blanks.syx\""), file);
    EXPECT_EQ (FileFirmwareClass::resolvePath ("'with blanks.syx'"), file);
    EXPECT_EQ (FileFirmwareClass::resolvePath ("  " + file.getFullPathName().quoted() + " "), file);
    EXPECT_EQ (FileFirmwareClass::resolvePath (""), juce::File());

    const FileFirmwareClass firmware ("with blanks.syx");
    EXPECT_EQ (firmware.getImageSize(), 5);

    previous.setAsCurrentWorkingDirectory();
}

TEST_F (FileFirmwareTest, DestroyingThroughTheBaseFreesTheFileData)
{
    // Under the leak detector and AddressSanitizer a missed derived destructor shows up.
    std::unique_ptr<FirmwareBaseClass> firmware = std::make_unique<FileFirmwareClass> (
        write ("a.syx", bytes (64)).getFullPathName());
    EXPECT_EQ (firmware->getImageSize(), 64);
    firmware.reset();
}
