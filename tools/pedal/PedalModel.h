// The virtual pedal's configuration and its judgement of what reached a port's wire.
// Shared by the ALSA stand-in library and the report writer; no ALSA in here.

#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace virtualpedal
{
constexpr size_t outputBufferSize = 4096;
constexpr size_t inputBufferSize = 4096;
constexpr int maxPorts = 32;
const char* const defaultPortName = "Lantern Reverb MIDI 1";

struct Options
{
    std::vector<std::string> portNames;     // port N is portNames[N - 1]
    long rate = 0;                          // bytes per second to the wire, 0 = at once
    std::string captureDir;                 // used by the wrapper only
    bool failOpen = false;
    long failAfter = -1;                    // -1 = never
    long unplugAfter = -1;
    bool stall = false;
    bool hasReply = false;
    std::vector<uint8_t> reply;
    int faultPort = 1;
    long drainTimeoutMs = 10000;            // drain and close give up after this long without progress
};

// Splits a command-line-like string into words: single quotes, double quotes and
// backslashes work as in a POSIX shell.
bool splitWords (const std::string& text, std::vector<std::string>& words, std::string& error);

// Reads "--port NAME --rate N ..." into options (defaults first). False with a sentence
// in error for anything it does not understand.
bool parseOptions (const std::vector<std::string>& words, Options& options, std::string& error);
bool parseOptions (const std::string& text, Options& options, std::string& error);

// "F0 7E 00 F7" or "F07E00F7" into bytes.
bool parseHex (const std::string& text, std::vector<uint8_t>& bytes);

struct Analysis
{
    long bytes = 0;
    int wholeMessages = 0;          // complete F0..F7 messages
    long strayBytes = 0;            // bytes outside any complete message, the partial tail excluded
    bool partialAtEnd = false;      // the capture ends inside a message
    bool complete = false;          // a whole Lantern Reverb update and nothing else
    std::string verdict;
};

Analysis analyseCapture (const uint8_t* data, size_t size);

// What one port saw, for report.txt.
struct PortEvents
{
    std::map<std::string, int> counts;      // "open", "close", "drain", "drop", "error", ...
    std::vector<std::string> errors;        // "write: Input/output error"
};

// Adds one event log line ("open 1 output", "error 1 write: ...") to events[port - 1];
// lines for other ports or of no known shape are ignored.
void countLogLine (const std::string& line, std::vector<PortEvents>& events);

std::string portDeviceName (int port);     // "hw:0,0,0" for port 1

std::string formatPortReport (int port, const std::string& name, const PortEvents& events,
                              const Analysis& analysis);
} // namespace virtualpedal
