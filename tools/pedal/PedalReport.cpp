// Turns what the virtual pedal recorded in a run directory into a capture directory.
//
//   virtualpedal-report --check                 checks VIRTUAL_PEDAL_OPTIONS
//   virtualpedal-report RUN_DIR CAPTURE_DIR     writes CAPTURE_DIR/portN.syx and report.txt
//
// The ports come from VIRTUAL_PEDAL_OPTIONS, as the library saw them.

#include "PedalModel.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace
{
bool readFile (const std::string& path, std::vector<uint8_t>& bytes)
{
    std::ifstream in (path, std::ios::binary);
    if (! in)
        return false;
    bytes.assign (std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char>());
    return true;
}

bool writeFile (const std::string& path, const void* data, size_t size)
{
    FILE* file = std::fopen (path.c_str(), "wb");
    if (file == nullptr)
    {
        std::fprintf (stderr, "virtual-pedal: cannot write %s: %s\n", path.c_str(), std::strerror (errno));
        return false;
    }

    const bool written = size == 0 || std::fwrite (data, 1, size, file) == size;
    if (std::fclose (file) != 0 || ! written)
    {
        std::fprintf (stderr, "virtual-pedal: cannot write %s: %s\n", path.c_str(), std::strerror (errno));
        return false;
    }
    return true;
}
} // namespace

int main (int argc, char* argv[])
{
    virtualpedal::Options options;
    std::string error;
    const char* text = std::getenv ("VIRTUAL_PEDAL_OPTIONS");
    if (! virtualpedal::parseOptions (text != nullptr ? text : "", options, error))
    {
        std::fprintf (stderr, "virtual-pedal: %s\n", error.c_str());
        return 2;
    }

    if (argc == 2 && std::strcmp (argv[1], "--check") == 0)
        return 0;

    if (argc != 3)
    {
        std::fprintf (stderr, "usage: %s --check | RUN_DIR CAPTURE_DIR\n", argv[0]);
        return 2;
    }

    const std::string runDir = argv[1];
    const std::string captureDir = argv[2];
    const size_t numPorts = options.portNames.size();

    std::vector<virtualpedal::PortEvents> events (numPorts);
    {
        std::ifstream log (runDir + "/events.log");
        std::string line;
        while (std::getline (log, line))
            virtualpedal::countLogLine (line, events);
    }

    std::ostringstream report;
    report << "virtual pedal: " << numPorts << (numPorts == 1 ? " port" : " ports") << ", rate "
           << (options.rate > 0 ? std::to_string (options.rate) + " bytes/s" : std::string ("unlimited")) << "\n";

    bool ok = true;
    for (size_t i = 0; i < numPorts; ++i)
    {
        const int port = (int) i + 1;
        std::vector<uint8_t> wire;
        readFile (runDir + "/port" + std::to_string (port) + ".wire", wire);     // none: nothing arrived

        ok = writeFile (captureDir + "/port" + std::to_string (port) + ".syx", wire.data(), wire.size()) && ok;

        const auto analysis = virtualpedal::analyseCapture (wire.data(), wire.size());
        report << "\n" << virtualpedal::formatPortReport (port, options.portNames[i], events[i], analysis);
    }

    const std::string reportText = report.str();
    ok = writeFile (captureDir + "/report.txt", reportText.data(), reportText.size()) && ok;
    return ok ? 0 : 1;
}
