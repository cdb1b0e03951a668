#include "PedalModel.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace virtualpedal
{
namespace
{
bool parseCount (const std::string& text, long& value)
{
    if (text.empty() || text[0] == '-' || text[0] == '+')
        return false;

    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll (text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed > 0x7fffffffLL)
        return false;

    value = (long) parsed;
    return true;
}

std::string plural (long n, const char* noun)
{
    return std::to_string (n) + " " + noun + (n == 1 ? "" : "s");
}

bool isMessage (const std::vector<uint8_t>& m, size_t length, uint8_t command, uint8_t first)
{
    return m.size() == length && m[6] == command && m[7] == first;
}
} // namespace

bool splitWords (const std::string& text, std::vector<std::string>& words, std::string& error)
{
    words.clear();
    std::string word;
    bool inWord = false;
    size_t i = 0;

    while (i < text.size())
    {
        const char c = text[i];

        if (c == ' ' || c == '\t' || c == '\n')
        {
            if (inWord)
                words.push_back (word);
            word.clear();
            inWord = false;
            ++i;
        }
        else if (c == '\'')
        {
            const size_t close = text.find ('\'', i + 1);
            if (close == std::string::npos)
            {
                error = "unterminated single quote";
                return false;
            }
            word += text.substr (i + 1, close - i - 1);
            inWord = true;
            i = close + 1;
        }
        else if (c == '"')
        {
            ++i;
            while (i < text.size() && text[i] != '"')
            {
                if (text[i] == '\\' && i + 1 < text.size()
                    && (text[i + 1] == '"' || text[i + 1] == '\\' || text[i + 1] == '$' || text[i + 1] == '`'))
                    ++i;
                word += text[i++];
            }
            if (i >= text.size())
            {
                error = "unterminated double quote";
                return false;
            }
            inWord = true;
            ++i;
        }
        else if (c == '\\' && i + 1 < text.size())
        {
            word += text[i + 1];
            inWord = true;
            i += 2;
        }
        else
        {
            word += c;
            inWord = true;
            ++i;
        }
    }

    if (inWord)
        words.push_back (word);
    return true;
}

bool parseHex (const std::string& text, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    int high = -1;

    for (const char c : text)
    {
        if (c == ' ' || c == '\t' || c == ',')
        {
            if (high >= 0)
                return false;
            continue;
        }

        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;

        if (high < 0)
        {
            high = digit;
        }
        else
        {
            bytes.push_back ((uint8_t) (high * 16 + digit));
            high = -1;
        }
    }

    return high < 0 && ! bytes.empty();
}

bool parseOptions (const std::vector<std::string>& words, Options& options, std::string& error)
{
    Options result;

    for (size_t i = 0; i < words.size(); ++i)
    {
        std::string name = words[i];
        std::string value;
        bool hasValue = false;

        const size_t equals = name.find ('=');
        if (name.rfind ("--", 0) == 0 && equals != std::string::npos)
        {
            value = name.substr (equals + 1);
            name = name.substr (0, equals);
            hasValue = true;
        }

        auto takeValue = [&] () -> bool
        {
            if (hasValue)
                return true;
            if (i + 1 >= words.size())
            {
                error = name + " needs a value";
                return false;
            }
            value = words[++i];
            return true;
        };

        auto takeCount = [&] (long& target) -> bool
        {
            if (! takeValue())
                return false;
            if (! parseCount (value, target))
            {
                error = name + " wants a whole number of 0 or more, not \"" + value + "\"";
                return false;
            }
            return true;
        };

        auto noValue = [&] () -> bool
        {
            if (hasValue)
            {
                error = name + " takes no value";
                return false;
            }
            return true;
        };

        if (name == "--port")
        {
            if (! takeValue())
                return false;
            if (value.empty())
            {
                error = "--port needs a non-empty name";
                return false;
            }
            result.portNames.push_back (value);
        }
        else if (name == "--rate")
        {
            if (! takeCount (result.rate))
                return false;
        }
        else if (name == "--capture")
        {
            if (! takeValue())
                return false;
            result.captureDir = value;
        }
        else if (name == "--fail-open")
        {
            if (! noValue())
                return false;
            result.failOpen = true;
        }
        else if (name == "--fail-after")
        {
            if (! takeCount (result.failAfter))
                return false;
        }
        else if (name == "--unplug-after")
        {
            if (! takeCount (result.unplugAfter))
                return false;
        }
        else if (name == "--stall")
        {
            if (! noValue())
                return false;
            result.stall = true;
        }
        else if (name == "--reply")
        {
            if (! takeValue())
                return false;
            if (! parseHex (value, result.reply))
            {
                error = "--reply wants hexadecimal bytes such as F07E00F7, not \"" + value + "\"";
                return false;
            }
            result.hasReply = true;
        }
        else if (name == "--fault-port")
        {
            long port = 0;
            if (! takeCount (port))
                return false;
            result.faultPort = (int) port;
        }
        else if (name == "--drain-timeout")
        {
            if (! takeCount (result.drainTimeoutMs))
                return false;
        }
        else
        {
            error = "unknown option \"" + words[i] + "\"";
            return false;
        }
    }

    if (result.portNames.empty())
        result.portNames.push_back (defaultPortName);

    if ((int) result.portNames.size() > maxPorts)
    {
        error = "at most " + std::to_string (maxPorts) + " ports";
        return false;
    }

    if (result.faultPort < 1 || result.faultPort > (int) result.portNames.size())
    {
        error = "--fault-port " + std::to_string (result.faultPort) + " names no port (there are "
                + plural ((long) result.portNames.size(), "port") + ")";
        return false;
    }

    options = result;
    return true;
}

bool parseOptions (const std::string& text, Options& options, std::string& error)
{
    std::vector<std::string> words;
    return splitWords (text, words, error) && parseOptions (words, options, error);
}

Analysis analyseCapture (const uint8_t* data, size_t size)
{
    Analysis a;
    a.bytes = (long) size;

    if (size == 0)
    {
        a.verdict = "no data";
        return a;
    }

    std::vector<std::vector<uint8_t>> messages;
    bool inMessage = false;
    size_t start = 0;

    for (size_t i = 0; i < size; ++i)
    {
        const uint8_t b = data[i];

        if (inMessage)
        {
            if (b == 0xf7)
            {
                messages.emplace_back (data + start, data + i + 1);
                inMessage = false;
            }
            else if (b == 0xf0)
            {
                a.strayBytes += (long) (i - start);     // a message cut short by the next one
                start = i;
            }
            else if (b >= 0x80)
            {
                a.strayBytes += (long) (i - start + 1); // a status byte ends the message
                inMessage = false;
            }
        }
        else if (b == 0xf0)
        {
            inMessage = true;
            start = i;
        }
        else
        {
            ++a.strayBytes;
        }
    }

    a.partialAtEnd = inMessage;
    a.wholeMessages = (int) messages.size();

    // Does the stream follow the update's order as far as it goes?
    std::string problem;
    bool closed = false;
    long blockCount = -1;
    long blocksSeen = 0;

    for (size_t j = 0; j < messages.size() && problem.empty(); ++j)
    {
        const auto& m = messages[j];
        const std::string where = "message " + std::to_string (j + 1);

        if (closed)
        {
            problem = plural ((long) (messages.size() - j), "message") + " after the closing message";
        }
        else if (j == 0)
        {
            if (! isMessage (m, 9, 0x51, 0x01))
                problem = "the first message is not the opening message";
        }
        else if (isMessage (m, 599, 0x52, 0x00))
        {
            const long number = (m[8] << 7) | m[9];
            const long count = (m[10] << 7) | m[11];

            if (blockCount < 0)
                blockCount = count;

            if (count != blockCount)
                problem = where + " gives a block count of " + std::to_string (count) + ", not "
                          + std::to_string (blockCount);
            else if (number != blocksSeen)
                problem = where + " is block " + std::to_string (number) + ", expected block "
                          + std::to_string (blocksSeen);
            else if (blocksSeen >= blockCount)
                problem = where + " is one block more than the count of " + std::to_string (blockCount);
            else
                ++blocksSeen;
        }
        else if (isMessage (m, 9, 0x52, 0x01))
        {
            if (blockCount <= 0 || blocksSeen != blockCount)
                problem = "closing message after " + std::to_string (blocksSeen) + " of "
                          + std::to_string (blockCount < 0 ? 0 : blockCount) + " blocks";
            else
                closed = true;
        }
        else
        {
            problem = where + " (" + std::to_string (m.size())
                      + " bytes) is neither a data block nor the closing message";
        }
    }

    if (problem.empty() && closed && a.partialAtEnd)
        problem = "data after the closing message";

    std::string extras;
    if (a.strayBytes > 0)
        extras += "; " + plural (a.strayBytes, "byte") + " outside whole messages";
    if (a.partialAtEnd)
        extras += "; partial message at the end";

    if (problem.empty() && a.strayBytes == 0 && closed)
    {
        a.complete = true;
        a.verdict = "complete Lantern Reverb update (" + plural (a.wholeMessages, "message") + ", "
                    + plural (a.bytes, "byte") + ")";
    }
    else if (problem.empty() && a.strayBytes == 0)
    {
        a.verdict = "incomplete update: " + plural (a.wholeMessages, "whole message")
                    + ", no closing message" + extras;
    }
    else
    {
        a.verdict = "not a Lantern Reverb update: " + plural (a.wholeMessages, "whole SysEx message")
                    + (problem.empty() ? "" : "; " + problem) + extras;
    }

    return a;
}

void countLogLine (const std::string& line, std::vector<PortEvents>& events)
{
    std::istringstream in (line);
    std::string event;
    int port = 0;
    if (! (in >> event >> port) || port < 1 || port > (int) events.size())
        return;

    PortEvents& e = events[(size_t) port - 1];
    ++e.counts[event];

    if (event == "error")
    {
        std::string rest;
        std::getline (in, rest);
        if (! rest.empty() && rest[0] == ' ')
            rest.erase (0, 1);
        e.errors.push_back (rest);
    }
}

std::string portDeviceName (int port)
{
    return "hw:" + std::to_string (port - 1) + ",0,0";
}

std::string formatPortReport (int port, const std::string& name, const PortEvents& events,
                              const Analysis& analysis)
{
    auto count = [&events] (const char* event)
    {
        const auto found = events.counts.find (event);
        return found == events.counts.end() ? 0 : found->second;
    };

    std::ostringstream out;
    out << "port " << port << ": " << name << " (" << portDeviceName (port) << ")\n"
        << "  opens: " << count ("open") << "\n"
        << "  closes: " << count ("close") << "\n"
        << "  drains: " << count ("drain") << "\n"
        << "  drops: " << count ("drop") << "\n"
        << "  bytes: " << analysis.bytes << "\n"
        << "  complete messages: " << analysis.wholeMessages << "\n"
        << "  errors: " << count ("error") << "\n";

    const size_t shown = 20;
    for (size_t i = 0; i < events.errors.size() && i < shown; ++i)
        out << "    " << events.errors[i] << "\n";
    if (events.errors.size() > shown)
        out << "    ... and " << (events.errors.size() - shown) << " more\n";

    if (count ("unplug") > 0)
        out << "  unplugged: yes\n";

    out << "  verdict: " << analysis.verdict << "\n";
    return out.str();
}
} // namespace virtualpedal
