// tools/virtual-pedal running Debian's unmodified amidi, and the capture files it leaves.
#include "PedalFixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace pedalfixtures;

namespace
{
struct Run
{
    int status = -1;
    std::string output;
};

/** Runs a shell command line, bounded by timeout(1); stdout and stderr together. */
Run run (const std::string& command)
{
    const std::string line = "BRINDLE_VIRTUAL_PEDAL_LIB='" VIRTUAL_PEDAL_LIB "' timeout -k 5 30 " + command + " 2>&1";
    Run result;
    FILE* pipe = popen (line.c_str(), "r");
    if (pipe == nullptr)
        return result;

    char buffer[4096];
    size_t n;
    while ((n = fread (buffer, 1, sizeof (buffer), pipe)) > 0)
        result.output.append (buffer, n);

    const int status = pclose (pipe);
    result.status = WIFEXITED (status) ? WEXITSTATUS (status) : -1;
    return result;
}

std::string pedal()
{
    return "'" VIRTUAL_PEDAL_SCRIPT "'";
}

Bytes readFile (const std::string& path)
{
    std::ifstream in (path, std::ios::binary);
    return Bytes (std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char>());
}

std::string readText (const std::string& path)
{
    const Bytes b = readFile (path);
    return std::string (b.begin(), b.end());
}

bool fileExists (const std::string& path)
{
    return access (path.c_str(), F_OK) == 0;
}

void writeFile (const std::string& path, const Bytes& bytes)
{
    std::ofstream out (path, std::ios::binary);
    out.write (reinterpret_cast<const char*> (bytes.data()), (std::streamsize) bytes.size());
}

class PedalWrapper : public testing::Test
{
protected:
    void SetUp() override
    {
        if (run ("amidi -V").status != 0)
            FAIL() << "amidi is missing: install Debian's alsa-utils";

        char pattern[] = "/tmp/pedal-test.XXXXXX";
        ASSERT_NE (mkdtemp (pattern), nullptr);
        dir = pattern;
        capture = dir + "/capture";
    }

    void TearDown() override
    {
        if (! dir.empty())
            run ("rm -rf '" + dir + "'");
    }

    std::string dir;
    std::string capture;
};
} // namespace

TEST_F (PedalWrapper, AmidiListsThePortsInOrderWithTheirNames)
{
    const auto r = run (pedal() + " --port 'Lantern Reverb MIDI 1' --port 'Second Pedal' --port \"It's third\" -- amidi -l");
    ASSERT_EQ (r.status, 0) << r.output;
    EXPECT_EQ (r.output, "Dir Device    Name\n"
                         "IO  hw:0,0,0  Lantern Reverb MIDI 1\n"
                         "IO  hw:1,0,0  Second Pedal\n"
                         "IO  hw:2,0,0  It's third\n");
}

TEST_F (PedalWrapper, AmidiSendArrivesByteExactOnTheChosenPortOnly)
{
    Bytes file;
    for (int i = 0; i < 12; ++i)
        file += sysex (500, i * 11);     // 6000 bytes: more than the output buffer
    writeFile (dir + "/messages.syx", file);

    const auto r = run (pedal() + " --port One --port Two --capture '" + capture + "' -- amidi -p hw:1,0,0 -s '"
                        + dir + "/messages.syx'");
    ASSERT_EQ (r.status, 0) << r.output;

    EXPECT_EQ (readFile (capture + "/port2.syx"), file);
    ASSERT_TRUE (fileExists (capture + "/port1.syx"));
    EXPECT_TRUE (readFile (capture + "/port1.syx").empty());

    const auto report = readText (capture + "/report.txt");
    EXPECT_NE (report.find ("port 1: One (hw:0,0,0)\n  opens: 0\n"), std::string::npos) << report;
    EXPECT_NE (report.find ("port 2: Two (hw:1,0,0)\n  opens: 1\n  closes: 1\n  drains: 0\n  drops: 0\n"
                            "  bytes: 6000\n  complete messages: 12\n  errors: 0\n"
                            "  verdict: not a Lantern Reverb update: 12 whole SysEx messages;"
                            " the first message is not the opening message\n"),
               std::string::npos) << report;
}

TEST_F (PedalWrapper, ThePlaceholderImageSentWithAmidiGetsTheCompleteVerdict)
{
    const auto r = run (pedal() + " --capture '" + capture + "' -- amidi -p hw:0,0,0 -s '" LANTERN_IMAGE_FILE "'");
    ASSERT_EQ (r.status, 0) << r.output;

    EXPECT_EQ (readFile (capture + "/port1.syx"), readFile (LANTERN_IMAGE_FILE));
    const auto report = readText (capture + "/report.txt");
    EXPECT_NE (report.find ("port 1: Lantern Reverb MIDI 1 (hw:0,0,0)\n"), std::string::npos) << report;
    EXPECT_NE (report.find ("  verdict: complete Lantern Reverb update (487 messages, 290533 bytes)\n"),
               std::string::npos) << report;
}

TEST_F (PedalWrapper, SeveralProcessesUnderOneWrapperAddUpOnTheWire)
{
    const Bytes first = sysex (3000, 1), second = sysex (2000, 2);
    writeFile (dir + "/a.syx", first);
    writeFile (dir + "/b.syx", second);

    const auto r = run (pedal() + " --capture '" + capture + "' -- sh -c \"amidi -p hw:0 -s '" + dir
                        + "/a.syx' && amidi -p hw:0 -s '" + dir + "/b.syx'\"");
    ASSERT_EQ (r.status, 0) << r.output;

    Bytes both = first;
    both += second;
    EXPECT_EQ (readFile (capture + "/port1.syx"), both);
    const auto report = readText (capture + "/report.txt");
    EXPECT_NE (report.find ("  opens: 2\n  closes: 2\n"), std::string::npos) << report;
}

TEST_F (PedalWrapper, AmidiReceivesTheReply)
{
    const auto r = run (pedal() + " --reply F07E00F7 -- amidi -p hw:0 -r '" + dir + "/in.syx' -t 1");
    ASSERT_EQ (r.status, 0) << r.output;
    EXPECT_EQ (readFile (dir + "/in.syx"), (Bytes { 0xf0, 0x7e, 0x00, 0xf7 }));
}

TEST_F (PedalWrapper, FaultsReachAmidiAndTheReport)
{
    const auto busy = run (pedal() + " --capture '" + capture + "' --fail-open -- amidi -p hw:0 -S F0F7");
    EXPECT_EQ (busy.status, 1) << busy.output;
    EXPECT_NE (busy.output.find ("Device or resource busy"), std::string::npos) << busy.output;
    EXPECT_NE (readText (capture + "/report.txt").find ("  errors: 1\n    open: Device or resource busy\n"),
               std::string::npos) << readText (capture + "/report.txt");

    const auto gone = run (pedal() + " --port a --port b --unplug-after 0 --fault-port 2 -- sh -c"
                           " 'amidi -p hw:1 -S F0F7; amidi -l'");
    EXPECT_NE (gone.output.find ("No such device"), std::string::npos) << gone.output;
    EXPECT_NE (gone.output.find ("hw:0,0,0  a\n"), std::string::npos) << gone.output;
    EXPECT_EQ (gone.output.find ("hw:1,0,0"), std::string::npos) << gone.output;
}

struct ScriptCase
{
    const char* arguments;
    int status;
    const char* output;     // a part of what the script prints
};

class PedalWrapperCommandLine : public testing::TestWithParam<ScriptCase> {};

TEST_P (PedalWrapperCommandLine, PassesTheStatusThroughOrExplainsTheMistake)
{
    const auto r = run (pedal() + " " + GetParam().arguments);
    EXPECT_EQ (r.status, GetParam().status) << r.output;
    EXPECT_NE (r.output.find (GetParam().output), std::string::npos) << r.output;
}

INSTANTIATE_TEST_SUITE_P (Cases, PedalWrapperCommandLine, testing::Values (
    ScriptCase { "-- sh -c 'echo ran; exit 7'", 7, "ran" },
    ScriptCase { "-- sh -c 'echo \"$ASAN_OPTIONS\"'", 0, "verify_asan_link_order=0" },
    ScriptCase { "--rate fast -- true", 2, "--rate wants a whole number" },
    ScriptCase { "--bogus -- true", 2, "unknown option" },
    ScriptCase { "--port a", 2, "no command given" }));

TEST (PedalWrapperLibrary, AMissingLibraryIsNamed)
{
    const auto r = run ("env BRINDLE_VIRTUAL_PEDAL_LIB=/nonexistent/libvirtualpedal.so " + pedal() + " -- true");
    EXPECT_EQ (r.status, 2);
    EXPECT_NE (r.output.find ("/nonexistent/libvirtualpedal.so does not exist"), std::string::npos) << r.output;
}
