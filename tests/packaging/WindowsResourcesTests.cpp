// The Windows executable's resources, compiled from resources/windows/brindle.rc with MinGW's
// resource compiler and read back from the .res file.
#include "packaging/WindowsResourceFile.h"

#include <gtest/gtest.h>
#include <juce_data_structures/juce_data_structures.h>

#include <algorithm>
#include <functional>
#include <set>
#include <utility>

namespace
{
juce::uint16 u16At (const juce::MemoryBlock& block, size_t offset)
{
    auto* bytes = static_cast<const juce::uint8*> (block.getData());
    return (juce::uint16) (bytes[offset] | (bytes[offset + 1] << 8));
}

juce::uint32 u32At (const juce::MemoryBlock& block, size_t offset)
{
    return (juce::uint32) u16At (block, offset) | ((juce::uint32) u16At (block, offset + 2) << 16);
}

/** One entry of an icon group: which image, and what the group says it is. */
struct GroupEntry
{
    int width, height, colourCount, planes, bitCount;
    juce::uint32 bytesInResource;
    int iconId;
};

std::vector<GroupEntry> readGroup (const juce::MemoryBlock& group)
{
    std::vector<GroupEntry> entries;

    if (group.getSize() < 6 || u16At (group, 0) != 0 || u16At (group, 2) != 1)
        return entries;

    const auto count = u16At (group, 4);

    for (size_t i = 0; i < count && 6 + 14 * (i + 1) <= group.getSize(); ++i)
    {
        const auto* e = static_cast<const juce::uint8*> (group.getData()) + 6 + 14 * i;
        const auto offset = 6 + 14 * i;
        entries.push_back ({ e[0] == 0 ? 256 : e[0], e[1] == 0 ? 256 : e[1], e[2],
                             u16At (group, offset + 4), u16At (group, offset + 6),
                             u32At (group, offset + 8), u16At (group, offset + 12) });
    }

    return entries;
}

class WindowsResources : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const juce::File windres (BRINDLE_WINDRES);
        ASSERT_TRUE (windres.existsAsFile())
            << "x86_64-w64-mingw32-windres not found (Debian: binutils-mingw-w64-x86-64)";

        // windres hands the defines to the preprocessor through a shell, hence the escaped quotes.
        juce::StringArray command { windres.getFullPathName(),
                                    "--preprocessor=" BRINDLE_CPP,
                                    "-I", BRINDLE_WINDOWS_RESOURCES_DIR,
                                    "-DBRINDLE_VERSION_MAJOR=" + juce::String (BRINDLE_TEST_VERSION_MAJOR),
                                    "-DBRINDLE_VERSION_MINOR=" + juce::String (BRINDLE_TEST_VERSION_MINOR),
                                    "-DBRINDLE_VERSION_PATCH=" + juce::String (BRINDLE_TEST_VERSION_PATCH),
                                    "-DBRINDLE_VERSION_STRING=\\\"" BRINDLE_TEST_VERSION "\\\"",
                                    "-O", "res",
                                    juce::String (BRINDLE_WINDOWS_RESOURCES_DIR) + "/brindle.rc",
                                    "-o", resFile.getFile().getFullPathName() };

        juce::ChildProcess process;
        ASSERT_TRUE (process.start (command));
        const auto output = process.readAllProcessOutput();
        ASSERT_EQ (process.getExitCode(), 0u) << output;

        juce::MemoryBlock bytes;
        ASSERT_TRUE (resFile.getFile().loadFileAsData (bytes));
        auto parsed = WindowsResourceFile::parse (bytes);
        ASSERT_TRUE (parsed.has_value()) << "malformed .res file";
        res = std::move (*parsed);
    }

    juce::TemporaryFile resFile { ".res" };
    WindowsResourceFile res;
};

TEST_F (WindowsResources, IconGroup101IsTheOnlyIconGroup)
{
    const auto groups = res.ofType (WindowsResourceFile::rtGroupIcon);
    ASSERT_EQ (groups.size(), 1);
    EXPECT_EQ (groups[0]->nameId, 101);
}

TEST_F (WindowsResources, IconGroup101HoldsNineImages48_32_16PixelsAt4_8_32Bits)
{
    const auto* group = res.find (WindowsResourceFile::rtGroupIcon, 101);
    ASSERT_NE (group, nullptr);

    const auto entries = readGroup (group->data);
    ASSERT_EQ (entries.size(), 9u);
    EXPECT_EQ (u16At (group->data, 4), 9);

    std::set<std::pair<int, int>> found;

    for (auto& entry : entries)
    {
        EXPECT_EQ (entry.width, entry.height);
        EXPECT_EQ (entry.planes, 1);
        EXPECT_EQ (entry.colourCount, entry.bitCount == 4 ? 16 : 0) << entry.width << " px, " << entry.bitCount << " bpp";
        found.insert ({ entry.width, entry.bitCount });
    }

    const std::set<std::pair<int, int>> expected { { 48, 4 }, { 32, 4 }, { 16, 4 },
                                                   { 48, 8 }, { 32, 8 }, { 16, 8 },
                                                   { 48, 32 }, { 32, 32 }, { 16, 32 } };
    EXPECT_EQ (found, expected);
}

TEST_F (WindowsResources, EachGroupEntryIsABitmapOfItsSizeAndDepth)
{
    const auto* group = res.find (WindowsResourceFile::rtGroupIcon, 101);
    ASSERT_NE (group, nullptr);

    const auto entries = readGroup (group->data);
    ASSERT_FALSE (entries.empty());
    EXPECT_EQ ((int) entries.size(), res.ofType (WindowsResourceFile::rtIcon).size());

    for (auto& entry : entries)
    {
        SCOPED_TRACE (juce::String (entry.width) + " px, " + juce::String (entry.bitCount) + " bpp");
        const auto* icon = res.find (WindowsResourceFile::rtIcon, entry.iconId);
        ASSERT_NE (icon, nullptr);
        ASSERT_EQ (icon->data.getSize(), (size_t) entry.bytesInResource);
        ASSERT_GE (icon->data.getSize(), 40u);

        // BITMAPINFOHEADER; the height counts the colour image and the 1-bit mask below it.
        EXPECT_EQ (u32At (icon->data, 0), 40u);
        EXPECT_EQ ((int) u32At (icon->data, 4), entry.width);
        EXPECT_EQ ((int) u32At (icon->data, 8), 2 * entry.height);
        EXPECT_EQ (u16At (icon->data, 12), 1);
        EXPECT_EQ (u16At (icon->data, 14), entry.bitCount);
        EXPECT_EQ (u32At (icon->data, 16), 0u); // uncompressed

        const auto coloursUsed = u32At (icon->data, 32);
        const size_t paletteEntries = entry.bitCount > 8 ? 0 : (coloursUsed != 0 ? coloursUsed : (1u << entry.bitCount));
        EXPECT_LE (paletteEntries, entry.bitCount > 8 ? 0u : (1u << entry.bitCount));

        const auto rowBytes = [] (int width, int bits) { return (size_t) (((width * bits + 31) / 32) * 4); };
        EXPECT_EQ (icon->data.getSize(), 40 + 4 * paletteEntries
                                             + rowBytes (entry.width, entry.bitCount) * (size_t) entry.height
                                             + rowBytes (entry.width, 1) * (size_t) entry.height);
    }
}

TEST_F (WindowsResources, ManifestAsksForAsInvoker)
{
    const auto manifests = res.ofType (WindowsResourceFile::rtManifest);
    ASSERT_EQ (manifests.size(), 1);
    EXPECT_EQ (manifests[0]->nameId, 1);

    auto xml = juce::parseXML (manifests[0]->data.toString());
    ASSERT_NE (xml, nullptr);
    EXPECT_TRUE (xml->hasTagName ("assembly"));

    const juce::XmlElement* level = nullptr;
    std::function<void (const juce::XmlElement&)> search = [&] (const juce::XmlElement& e)
    {
        if (e.getTagNameWithoutNamespace() == "requestedExecutionLevel")
            level = &e;

        for (auto* child : e.getChildIterator())
            search (*child);
    };
    search (*xml);

    ASSERT_NE (level, nullptr);
    EXPECT_EQ (level->getStringAttribute ("level"), "asInvoker");
    EXPECT_EQ (level->getStringAttribute ("uiAccess"), "false");
}

TEST_F (WindowsResources, VersionRecordCarriesTheProjectVersion)
{
    const auto* version = res.find (WindowsResourceFile::rtVersion, 1);
    ASSERT_NE (version, nullptr);

    // VS_FIXEDFILEINFO starts with its signature, after the "VS_VERSION_INFO" key.
    size_t fixed = 0;

    for (size_t i = 0; i + 4 <= version->data.getSize(); i += 4)
        if (u32At (version->data, i) == 0xfeef04bdu)
            fixed = i;

    ASSERT_NE (fixed, 0u);
    const auto ms = ((juce::uint32) BRINDLE_TEST_VERSION_MAJOR << 16) | BRINDLE_TEST_VERSION_MINOR;
    const auto ls = (juce::uint32) BRINDLE_TEST_VERSION_PATCH << 16;
    EXPECT_EQ (u32At (version->data, fixed + 8), ms);   // file version
    EXPECT_EQ (u32At (version->data, fixed + 12), ls);
    EXPECT_EQ (u32At (version->data, fixed + 16), ms);  // product version
    EXPECT_EQ (u32At (version->data, fixed + 20), ls);

    // The string table holds the version text in UTF-16.
    std::vector<juce::uint8> utf16;

    for (auto* c = BRINDLE_TEST_VERSION; *c != 0; ++c)
        utf16.insert (utf16.end(), { (juce::uint8) *c, 0 });

    auto* begin = static_cast<const juce::uint8*> (version->data.getData());
    auto* end = begin + version->data.getSize();
    EXPECT_NE (std::search (begin, end, utf16.begin(), utf16.end()), end);
}
} // namespace
