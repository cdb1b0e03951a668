#include "panel/CommandLineOptions.h"

#include <gtest/gtest.h>

namespace
{
struct OptionsCase
{
    const char* commandLine;
    bool hasFile;
    const char* fileName;
    bool autoUpdate;
    int outputId;
};

const OptionsCase optionsCases[] = {
    { "", false, "", false, 1 },
    { "--autoupdate --outputid 2 --file C:\\fw\\new.syx", true, "C:\\fw\\new.syx", true, 2 },
    { "--file C:\\fw\\new.syx --autoupdate", true, "C:\\fw\\new.syx --autoupdate", true, 1 },
    { "--autoupdate", false, "", true, 1 },
    { "--autoupdate --outputid 0", false, "", true, 1 },
    { "--autoupdate --outputid -3", false, "", true, 1 },
    { "--autoupdate --outputid two", false, "", true, 1 },
    { "--autoupdate --outputid=2", false, "", true, 1 },
    { "--autoupdate --outputid +3", false, "", true, 3 },
    { "--autoupdate --outputid   4x", false, "", true, 4 },
    { "--AutoUpdate --OUTPUTID 2", false, "", true, 2 },
    { "--FILE C:\\fw\\new.syx", true, "C:\\fw\\new.syx", false, 1 },
    { "--autoupdates", false, "", false, 1 },
    { "x--autoupdate", false, "", false, 1 },
    { "--inputid 2", false, "", false, 1 },
    { "--autoupdate --inputid 2", false, "", true, 1 },
    { "--file \"/tmp/my firmware/new.syx\"", true, "\"/tmp/my firmware/new.syx\"", false, 1 },
    { "--file /tmp/my firmware/new.syx   ", true, "/tmp/my firmware/new.syx", false, 1 },
    { "--file", true, "", false, 1 },
    { "--file=/tmp/a.syx", true, "=/tmp/a.syx", false, 1 },
    { "--fileC:\\fw.syx", false, "", false, 1 },
    // The value follows the first occurrence, even inside a longer word.
    { "--filex --file a.syx", true, "x --file a.syx", false, 1 },
    { "--outputid 3 --autoupdate --outputid 2", false, "", true, 3 },
};
} // namespace

TEST (CommandLineOptions, ReadsEveryOptionAsAScriptWouldWriteIt)
{
    for (const auto& c : optionsCases)
    {
        const CommandLineOptions options (juce::String (c.commandLine).trim());

        EXPECT_EQ (options.hasFile(), c.hasFile) << c.commandLine;
        EXPECT_EQ (options.getFileName(), juce::String (c.hasFile ? c.fileName : "--file")) << c.commandLine;
        EXPECT_EQ (options.isAutoUpdate(), c.autoUpdate) << c.commandLine;
        EXPECT_EQ (options.getOutputId(), c.outputId) << c.commandLine;
    }
}

TEST (CommandLineOptions, RecognisesWholeWordsInAnyCase)
{
    const struct
    {
        const char* text;
        bool recognised;
    } cases[] = {
        { "--autoupdate", true },
        { "a --AUTOupdate b", true },
        { "--autoupdate=1", true },
        { "--autoupdate1", false },
        { "b--autoupdate", false },
        { "---autoupdate", true },
        { "--auto update", false },
    };

    for (const auto& c : cases)
        EXPECT_EQ (CommandLineOptions::isRecognised (c.text, "--autoupdate"), c.recognised) << c.text;
}

TEST (CommandLineOptions, ReadIntegerTakesSignAndLeadingDigitsOnly)
{
    const struct
    {
        const char* text;
        int value;
    } cases[] = {
        { "12", 12 }, { "  7 --file x", 7 }, { "-3", -3 }, { "+5", 5 }, { "x1", 0 },
        { "", 0 }, { "- 4", 0 }, { "99999999999999", std::numeric_limits<int>::max() },
    };

    for (const auto& c : cases)
        EXPECT_EQ (CommandLineOptions::readInteger (c.text), c.value) << "'" << c.text << "'";
}
