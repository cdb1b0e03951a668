// A virtual Lantern Reverb pedal behind libasound's RawMIDI and control interface.
//
// The library defines the card, control and RawMIDI functions that MIDI programs call, with
// libasound's symbol versions, so that it takes their place when it is preloaded or linked
// before libasound; everything else (snd_strerror and the rest) is still libasound's.
//
// Each configured port is a card with one RawMIDI device and one subdevice. A port's output
// buffer holds 4096 bytes and drains to the port's "wire" at the configured rate, computed
// from the monotonic clock whenever the port is touched. Whatever reaches the wire is kept
// in memory and, under the virtual-pedal wrapper, appended to RUN_DIR/portN.wire; events
// are appended to RUN_DIR/events.log. One mutex guards all of it.
//
// Environment: VIRTUAL_PEDAL_OPTIONS (the wrapper's options, e.g. "--port A --rate 3125"),
// VIRTUAL_PEDAL_RUN_DIR (where capture files and open locks live).

#include "PedalModel.h"
#include "VirtualPedalControl.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <poll.h>
#include <set>
#include <string>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>
#include <vector>

using virtualpedal::Options;

namespace
{
using Clock = std::chrono::steady_clock;
const size_t maxLogLines = 200000;

struct Port
{
    int number = 0;
    std::string name;
    std::string cardId;
    long rate = 0;
    long drainTimeoutMs = 10000;
    bool stall = false;
    bool failOpen = false;
    long failAfter = -1;
    long unplugAfter = -1;
    bool hasReply = false;
    std::vector<uint8_t> reply;

    std::deque<uint8_t> output;         // accepted, not yet on the wire
    double credit = 0.0;                // bytes the wire may take but has not yet
    Clock::time_point lastDrain;
    long accepted = 0;
    unsigned long wired = 0;
    std::vector<uint8_t> wire;
    bool unplugged = false;

    std::deque<uint8_t> input;          // readable by the host
    size_t inputXruns = 0;

    snd_rawmidi_t* outputHandle = nullptr;
    snd_rawmidi_t* inputHandle = nullptr;
    std::map<std::string, int> counts;
    int wireFd = -1;
};

struct State
{
    std::mutex lock;
    std::condition_variable changed;
    bool configured = false;
    Options options;
    std::vector<std::shared_ptr<Port>> ports;
    std::vector<std::string> log;
    std::string runDir;
    int eventsFd = -1;
    std::set<snd_rawmidi_t*> handles;
};

State& state()
{
    static State* s = new State();     // never destroyed: usable from exit-time code
    return *s;
}

void writeAll (int fd, const void* data, size_t size)
{
    const char* p = static_cast<const char*> (data);
    while (size > 0)
    {
        const ssize_t n = ::write (fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        p += n;
        size -= (size_t) n;
    }
}

std::string makeCardId (const std::string& name, const std::vector<std::shared_ptr<Port>>& earlier)
{
    std::string id;
    for (const char c : name)
        if (((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) && id.size() < 15)
            id += c;
    if (id.empty())
        id = "Pedal";

    auto taken = [&earlier] (const std::string& candidate)
    {
        return std::any_of (earlier.begin(), earlier.end(),
                            [&candidate] (const std::shared_ptr<Port>& p) { return p->cardId == candidate; });
    };

    const std::string base = id.substr (0, 13);
    for (int n = 1; taken (id); ++n)
        id = base + "_" + std::to_string (n);
    return id;
}

// --- Logging and capture files (lock held) ----------------------------------------------

void logEvent (Port& p, const std::string& event, const std::string& detail = {})
{
    State& s = state();
    ++p.counts[event];

    std::string line = event + " " + std::to_string (p.number);
    if (! detail.empty())
        line += " " + detail;

    if (s.log.size() < maxLogLines)
        s.log.push_back (line);

    if (! s.runDir.empty())
    {
        if (s.eventsFd < 0)
            s.eventsFd = ::open ((s.runDir + "/events.log").c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        if (s.eventsFd >= 0)
        {
            line += "\n";
            writeAll (s.eventsFd, line.data(), line.size());     // one write: lines of processes never mix
        }
    }
}

int logError (Port& p, const char* what, int err)
{
    logEvent (p, "error", std::string (what) + ": " + snd_strerror (err));
    return err;
}

void putOnWire (Port& p, size_t count)
{
    if (count == 0)
        return;

    const size_t start = p.wire.size();
    p.wire.insert (p.wire.end(), p.output.begin(), p.output.begin() + (long) count);
    p.output.erase (p.output.begin(), p.output.begin() + (long) count);
    p.wired += count;

    State& s = state();
    if (! s.runDir.empty())
    {
        if (p.wireFd < 0)
            p.wireFd = ::open ((s.runDir + "/port" + std::to_string (p.number) + ".wire").c_str(),
                               O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        if (p.wireFd >= 0)
            writeAll (p.wireFd, p.wire.data() + start, count);
    }

    s.changed.notify_all();
}

bool hasMarker (const Port& p, const char* what)
{
    const State& s = state();
    return ! s.runDir.empty()
           && ::access ((s.runDir + "/port" + std::to_string (p.number) + "." + what).c_str(), F_OK) == 0;
}

bool isUnplugged (Port& p)
{
    if (! p.unplugged && hasMarker (p, "unplugged"))
        p.unplugged = true;     // another process under the same wrapper pulled it
    return p.unplugged;
}

void unplug (Port& p)
{
    p.unplugged = true;
    p.output.clear();           // what had not left the buffer is lost with the device

    State& s = state();
    if (! s.runDir.empty())
    {
        const int fd = ::open ((s.runDir + "/port" + std::to_string (p.number) + ".unplugged").c_str(),
                               O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd >= 0)
            ::close (fd);
    }

    logEvent (p, "unplug");
    s.changed.notify_all();
}

// --- Configuration (lock held) ------------------------------------------------------------

void applyOptions (const Options& options)
{
    State& s = state();
    s.options = options;
    s.ports.clear();
    s.log.clear();

    for (size_t i = 0; i < options.portNames.size(); ++i)
    {
        auto p = std::make_shared<Port>();
        p->number = (int) i + 1;
        p->name = options.portNames[i];
        p->cardId = makeCardId (p->name, s.ports);
        p->rate = options.rate;
        p->drainTimeoutMs = options.drainTimeoutMs;
        p->lastDrain = Clock::now();

        if (p->number == options.faultPort)
        {
            p->stall = options.stall;
            p->failOpen = options.failOpen;
            p->failAfter = options.failAfter;
            p->unplugAfter = options.unplugAfter;
            p->hasReply = options.hasReply;
            p->reply = options.reply;
        }

        s.ports.push_back (p);
    }
}

void ensureConfigured()
{
    State& s = state();
    if (s.configured)
        return;

    s.configured = true;

    if (const char* dir = std::getenv ("VIRTUAL_PEDAL_RUN_DIR"))
        s.runDir = dir;

    Options options;
    std::string error;
    const char* text = std::getenv ("VIRTUAL_PEDAL_OPTIONS");
    if (! virtualpedal::parseOptions (text != nullptr ? text : "", options, error))
    {
        std::fprintf (stderr, "virtual pedal: VIRTUAL_PEDAL_OPTIONS: %s; using one port \"%s\"\n",
                      error.c_str(), virtualpedal::defaultPortName);
        virtualpedal::parseOptions ("", options, error);
    }

    applyOptions (options);
}

std::unique_lock<std::mutex> lockState()
{
    std::unique_lock<std::mutex> lock (state().lock);
    ensureConfigured();
    return lock;
}

Port* portForCard (int card)
{
    State& s = state();
    if (card < 0 || card >= (int) s.ports.size())
        return nullptr;
    return s.ports[(size_t) card].get();
}

Port* portByNumber (int port)
{
    return portForCard (port - 1);
}

// "0", "hw:0", "hw:0,0,0", "hw:CARD=0,DEV=0", "hw:LanternReverbMI" ... into card, device and
// subdevice (-1 = any).
bool parseCardNumber (const std::string& text, int& card)
{
    if (text.empty())
        return false;

    if (std::all_of (text.begin(), text.end(), [] (char c) { return c >= '0' && c <= '9'; }))
    {
        card = text.size() > 3 ? 9999 : std::atoi (text.c_str());
        return true;
    }

    const State& s = state();
    for (const auto& p : s.ports)
    {
        if (p->cardId == text)
        {
            card = p->number - 1;
            return true;
        }
    }
    return false;
}

bool parseDeviceName (const char* name, int& card, int& device, int& subdevice)
{
    if (name == nullptr)
        return false;

    std::string text (name);
    card = 0;
    device = 0;
    subdevice = -1;

    if (text == "default")
        return true;

    if (text.rfind ("hw:", 0) != 0)
        return false;

    std::vector<std::string> parts;
    size_t start = 3;
    for (;;)
    {
        const size_t comma = text.find (',', start);
        parts.push_back (text.substr (start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }

    if (parts.size() > 3)
        return false;

    for (size_t i = 0; i < parts.size(); ++i)
    {
        std::string value = parts[i];
        const size_t equals = value.find ('=');
        size_t slot = i;

        if (equals != std::string::npos)
        {
            const std::string key = value.substr (0, equals);
            value = value.substr (equals + 1);
            if (key == "CARD")
                slot = 0;
            else if (key == "DEV")
                slot = 1;
            else if (key == "SUBDEV")
                slot = 2;
            else
                return false;
        }

        if (slot == 0)
        {
            if (! parseCardNumber (value, card))
                return false;
        }
        else
        {
            if (value.empty() || ! std::all_of (value.begin(), value.end(), [] (char c) { return c >= '0' && c <= '9'; })
                || value.size() > 3)
                return false;
            (slot == 1 ? device : subdevice) = std::atoi (value.c_str());
        }
    }

    return true;
}
} // namespace

// --- The structures behind libasound's opaque types ---------------------------------------

struct _snd_rawmidi_info
{
    int card;
    unsigned int device;
    unsigned int subdevice;
    int stream;
    unsigned int flags;
    char id[64];
    char name[80];
    char subname[32];
    unsigned int subdevicesCount;
    unsigned int subdevicesAvail;
};

struct _snd_rawmidi_params
{
    size_t bufferSize;
    size_t availMin;
    int noActiveSensing;
    int readMode;
    int clockType;
};

struct _snd_rawmidi_status
{
    snd_htimestamp_t tstamp;
    size_t avail;
    size_t xruns;
};

struct _snd_ctl_card_info
{
    int card;
    char id[16];
    char driver[16];
    char name[32];
    char longname[80];
    char mixername[80];
    char components[128];
};

struct _snd_ctl
{
    int card;
    std::string name;
};

struct _snd_rawmidi
{
    std::shared_ptr<Port> port;
    snd_rawmidi_stream_t stream;
    int mode;
    bool nonblock;
    std::string name;
    int pollFd;
    int lockFd;
    bool signalled;
};

namespace
{
void copyText (char* dest, size_t size, const std::string& text)
{
    std::snprintf (dest, size, "%s", text.c_str());
}

void fillInfo (const Port& p, snd_rawmidi_info_t* info, int stream)
{
    const unsigned int device = info->device;
    const unsigned int subdevice = info->subdevice;
    std::memset (info, 0, sizeof (*info));
    info->card = p.number - 1;
    info->device = device;
    info->subdevice = subdevice;
    info->stream = stream;
    info->flags = 0x1 | 0x2 | 0x4;      // output, input, duplex
    copyText (info->id, sizeof (info->id), p.cardId);
    copyText (info->name, sizeof (info->name), p.name);
    copyText (info->subname, sizeof (info->subname), p.name);
    info->subdevicesCount = 1;
    const bool open = stream == SND_RAWMIDI_STREAM_OUTPUT ? p.outputHandle != nullptr : p.inputHandle != nullptr;
    info->subdevicesAvail = open ? 0 : 1;
}

void fillCardInfo (const Port& p, snd_ctl_card_info_t* info)
{
    std::memset (info, 0, sizeof (*info));
    info->card = p.number - 1;
    copyText (info->id, sizeof (info->id), p.cardId);
    copyText (info->driver, sizeof (info->driver), "VirtualPedal");
    copyText (info->name, sizeof (info->name), p.name);
    copyText (info->longname, sizeof (info->longname), p.name + " (virtual pedal, port " + std::to_string (p.number) + ")");
    copyText (info->mixername, sizeof (info->mixername), p.name);
}

// --- The wire (lock held) -----------------------------------------------------------------

void advance (Port& p)
{
    const auto now = Clock::now();
    const double elapsed = std::chrono::duration<double> (now - p.lastDrain).count();
    p.lastDrain = now;

    if (p.output.empty() || p.stall || p.unplugged)
    {
        p.credit = 0.0;
        return;
    }

    if (p.rate <= 0)
    {
        putOnWire (p, p.output.size());
        return;
    }

    p.credit += elapsed * (double) p.rate;
    const size_t n = std::min (p.output.size(), (size_t) p.credit);
    putOnWire (p, n);
    p.credit = p.output.empty() ? 0.0 : p.credit - (double) n;
}

bool drainsByItself (const Port& p)
{
    return p.rate > 0 && ! p.stall && ! p.unplugged;
}

Clock::duration timeToNextByte (const Port& p)
{
    const double seconds = std::max (0.0, (1.0 - p.credit) / (double) p.rate);
    return std::chrono::duration_cast<Clock::duration> (std::chrono::duration<double> (seconds))
           + std::chrono::microseconds (50);
}

// The output's poll descriptor is a timerfd that is readable while there is room, and that
// becomes readable by itself when the wire has taken the next byte.
void updatePoll (snd_rawmidi_t* h)
{
    Port& p = *h->port;

    if (h->stream == SND_RAWMIDI_STREAM_OUTPUT)
    {
        itimerspec timer {};
        if (p.unplugged || p.output.size() < virtualpedal::outputBufferSize)
        {
            timer.it_value.tv_nsec = 1;
        }
        else if (drainsByItself (p))
        {
            const auto wait = std::chrono::duration_cast<std::chrono::nanoseconds> (timeToNextByte (p)).count();
            timer.it_value.tv_sec = (time_t) (wait / 1000000000);
            timer.it_value.tv_nsec = (long) (wait % 1000000000);
            if (timer.it_value.tv_sec == 0 && timer.it_value.tv_nsec == 0)
                timer.it_value.tv_nsec = 1;
        }
        ::timerfd_settime (h->pollFd, 0, &timer, nullptr);
    }
    else
    {
        const bool ready = ! p.input.empty() || p.unplugged;
        uint64_t value = 1;
        if (ready && ! h->signalled)
            h->signalled = ::write (h->pollFd, &value, sizeof (value)) == (ssize_t) sizeof (value);
        else if (! ready && h->signalled)
            h->signalled = ! (::read (h->pollFd, &value, sizeof (value)) == (ssize_t) sizeof (value));
    }
}

void queueInput (Port& p, const uint8_t* data, size_t size)
{
    for (size_t i = 0; i < size; ++i)
    {
        if (p.input.size() < virtualpedal::inputBufferSize)
            p.input.push_back (data[i]);
        else
            ++p.inputXruns;
    }

    if (p.inputHandle != nullptr)
        updatePoll (p.inputHandle);
    state().changed.notify_all();
}

// Waits until the output buffer is empty; -EIO when nothing drained for the drain timeout.
int drainOutput (snd_rawmidi_t* h, std::unique_lock<std::mutex>& lock)
{
    Port& p = *h->port;
    const auto timeout = std::chrono::milliseconds (p.drainTimeoutMs);
    auto lastProgress = Clock::now();
    auto wiredBefore = p.wired;

    for (;;)
    {
        advance (p);
        if (isUnplugged (p))
            return -ENODEV;
        if (p.output.empty())
            return 0;

        const auto now = Clock::now();
        if (p.wired != wiredBefore)
        {
            wiredBefore = p.wired;
            lastProgress = now;
        }

        const auto deadline = lastProgress + timeout;
        if (now >= deadline)
            return -EIO;

        auto wake = deadline;
        if (drainsByItself (p))
            wake = std::min (deadline, now + timeToNextByte (p));
        state().changed.wait_until (lock, wake);
    }
}

ssize_t writeOutput (snd_rawmidi_t* h, const uint8_t* data, size_t size, std::unique_lock<std::mutex>& lock)
{
    Port& p = *h->port;
    const size_t capacity = virtualpedal::outputBufferSize;
    const bool append = (h->mode & SND_RAWMIDI_APPEND) != 0;

    if (isUnplugged (p))
        return logError (p, "write", -ENODEV);
    if (append && size > capacity)
        return logError (p, "write", -EIO);

    // Like the kernel, a blocking write gives up when no room appeared for a long while.
    const auto writeTimeout = std::chrono::milliseconds (3 * p.drainTimeoutMs);
    auto lastProgress = Clock::now();
    auto wiredBefore = p.wired;
    size_t done = 0;
    int failure = 0;

    while (done < size)
    {
        advance (p);

        if (isUnplugged (p))
        {
            failure = -ENODEV;
            break;
        }
        if (p.failAfter >= 0 && p.accepted >= p.failAfter)
        {
            failure = -EIO;
            break;
        }
        if (p.unplugAfter >= 0 && p.accepted >= p.unplugAfter)
        {
            unplug (p);
            failure = -ENODEV;
            break;
        }

        size_t wanted = size - done;
        if (p.failAfter >= 0)
            wanted = std::min (wanted, (size_t) (p.failAfter - p.accepted));
        if (p.unplugAfter >= 0)
            wanted = std::min (wanted, (size_t) (p.unplugAfter - p.accepted));

        const size_t room = capacity - p.output.size();
        const bool fits = append ? room >= wanted : room > 0;

        if (fits)
        {
            const size_t n = std::min (room, wanted);
            p.output.insert (p.output.end(), data + done, data + done + n);
            p.accepted += (long) n;
            done += n;
            lastProgress = Clock::now();
            advance (p);

            if (p.unplugAfter >= 0 && p.accepted >= p.unplugAfter)
                unplug (p);
            continue;
        }

        if (h->nonblock)
        {
            failure = -EAGAIN;
            break;
        }

        const auto now = Clock::now();
        if (p.wired != wiredBefore)
        {
            wiredBefore = p.wired;
            lastProgress = now;
        }

        const auto deadline = lastProgress + writeTimeout;
        if (now >= deadline)
        {
            failure = -EIO;
            break;
        }

        auto wake = deadline;
        if (drainsByItself (p))
            wake = std::min (deadline, now + timeToNextByte (p));
        state().changed.wait_until (lock, wake);
    }

    updatePoll (h);

    if (done > 0)
    {
        logEvent (p, "write", std::to_string (done));
        if ((h->mode & SND_RAWMIDI_SYNC) != 0 && failure == 0)
        {
            const int err = drainOutput (h, lock);
            if (err < 0)
                return logError (p, "write", err);
        }
        return (ssize_t) done;
    }

    if (failure == -EAGAIN)
        return -EAGAIN;     // not an error of the pedal's: the buffer is full
    if (failure != 0)
        return logError (p, "write", failure);
    return 0;
}

void releaseHandle (snd_rawmidi_t* h)
{
    Port& p = *h->port;
    if (h->stream == SND_RAWMIDI_STREAM_OUTPUT)
    {
        if (p.outputHandle == h)
            p.outputHandle = nullptr;
    }
    else if (p.inputHandle == h)
    {
        p.inputHandle = nullptr;
    }

    if (h->pollFd >= 0)
        ::close (h->pollFd);
    if (h->lockFd >= 0)
        ::close (h->lockFd);
    state().handles.erase (h);
    delete h;
}

// Another process under the same wrapper may hold the port: a lock file per stream.
int lockStream (const Port& p, const char* stream)
{
    const State& s = state();
    if (s.runDir.empty())
        return -1;

    const int fd = ::open ((s.runDir + "/port" + std::to_string (p.number) + "." + stream + ".lock").c_str(),
                           O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return -1;
    if (::flock (fd, LOCK_EX | LOCK_NB) != 0)
    {
        ::close (fd);
        return -2;
    }
    return fd;
}

snd_rawmidi_t* makeHandle (const std::shared_ptr<Port>& port, snd_rawmidi_stream_t stream, int mode,
                           const char* name, int lockFd)
{
    const int fd = stream == SND_RAWMIDI_STREAM_OUTPUT ? ::timerfd_create (CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)
                                                       : ::eventfd (0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (fd < 0)
        return nullptr;

    auto* h = new _snd_rawmidi();
    h->port = port;
    h->stream = stream;
    h->mode = mode;
    h->nonblock = (mode & SND_RAWMIDI_NONBLOCK) != 0;
    h->name = name;
    h->pollFd = fd;
    h->lockFd = lockFd;
    h->signalled = false;
    state().handles.insert (h);
    return h;
}

int openPort (snd_rawmidi_t** inputp, snd_rawmidi_t** outputp, const char* name, int mode)
{
    if (inputp == nullptr && outputp == nullptr)
        return -EINVAL;
    if (inputp != nullptr)
        *inputp = nullptr;
    if (outputp != nullptr)
        *outputp = nullptr;

    auto lock = lockState();
    State& s = state();

    int card = 0, device = 0, subdevice = -1;
    if (! parseDeviceName (name, card, device, subdevice))
        return -ENOENT;

    Port* found = portForCard (card);
    if (found == nullptr || device != 0 || subdevice > 0)
        return -ENOENT;

    const std::shared_ptr<Port> port = s.ports[(size_t) card];
    Port& p = *port;

    if (isUnplugged (p))
        return logError (p, "open", -ENODEV);
    if (p.failOpen)
        return logError (p, "open", -EBUSY);
    if ((outputp != nullptr && p.outputHandle != nullptr) || (inputp != nullptr && p.inputHandle != nullptr))
        return logError (p, "open", -EBUSY);

    int outputLock = -1, inputLock = -1;
    if (outputp != nullptr && (outputLock = lockStream (p, "output")) == -2)
        return logError (p, "open", -EBUSY);
    if (inputp != nullptr && (inputLock = lockStream (p, "input")) == -2)
    {
        if (outputLock >= 0)
            ::close (outputLock);
        return logError (p, "open", -EBUSY);
    }

    snd_rawmidi_t* out = nullptr;
    snd_rawmidi_t* in = nullptr;
    if (outputp != nullptr)
        out = makeHandle (port, SND_RAWMIDI_STREAM_OUTPUT, mode, name, outputLock);
    if (inputp != nullptr)
        in = makeHandle (port, SND_RAWMIDI_STREAM_INPUT, mode, name, inputLock);

    if ((outputp != nullptr && out == nullptr) || (inputp != nullptr && in == nullptr))
    {
        const int err = -errno;
        if (out != nullptr)
            releaseHandle (out);
        else if (outputLock >= 0)
            ::close (outputLock);
        if (in != nullptr)
            releaseHandle (in);
        else if (inputLock >= 0)
            ::close (inputLock);
        return logError (p, "open", err < 0 ? err : -ENOMEM);
    }

    if (out != nullptr)
    {
        p.outputHandle = out;
        p.lastDrain = Clock::now();
        logEvent (p, "open", "output");
        updatePoll (out);
        *outputp = out;
    }

    if (in != nullptr)
    {
        p.inputHandle = in;
        logEvent (p, "open", "input");
        if (p.hasReply)
            queueInput (p, p.reply.data(), p.reply.size());
        updatePoll (in);
        *inputp = in;
    }

    return 0;
}

int closeHandle (snd_rawmidi_t* h, bool atExit)
{
    auto lock = lockState();
    Port& p = *h->port;
    int result = 0;

    if (h->stream == SND_RAWMIDI_STREAM_OUTPUT && ! isUnplugged (p))
    {
        const int err = drainOutput (h, lock);     // closing an output drains it first
        if (err < 0)
            logError (p, "close", err);
        p.output.clear();
        p.credit = 0.0;
    }

    if (isUnplugged (p))
        result = -ENODEV;

    if (atExit)
        logEvent (p, "exit", h->stream == SND_RAWMIDI_STREAM_OUTPUT ? "" : "input");
    else
        logEvent (p, "close", h->stream == SND_RAWMIDI_STREAM_OUTPUT ? "" : "input");

    releaseHandle (h);
    state().changed.notify_all();
    return result;
}

// A process that ends with ports open still puts their buffered bytes on the wire, as the
// kernel does when it closes the process's files.
__attribute__ ((destructor)) void closeHandlesAtExit()
{
    std::vector<snd_rawmidi_t*> open;
    {
        std::lock_guard<std::mutex> lock (state().lock);
        open.assign (state().handles.begin(), state().handles.end());
    }
    for (snd_rawmidi_t* h : open)
        closeHandle (h, true);
}

int checkHandle (snd_rawmidi_t* h, const char* what)
{
    if (h == nullptr)
        return -EINVAL;
    if (isUnplugged (*h->port))
        return logError (*h->port, what, -ENODEV);
    return 0;
}

char* duplicate (const std::string& text)
{
    return ::strdup (text.c_str());
}

// The _malloc functions of the info, params and status containers: one zeroed object.
template <typename Container>
int allocateZeroed (Container** ptr)
{
    if (ptr == nullptr)
        return -EINVAL;
    *ptr = static_cast<Container*> (std::calloc (1, sizeof (Container)));
    return *ptr != nullptr ? 0 : -ENOMEM;
}
} // namespace

// --- Cards --------------------------------------------------------------------------------

extern "C" {

int snd_card_next (int* card)
{
    if (card == nullptr)
        return -EINVAL;

    auto lock = lockState();
    const State& s = state();
    for (int c = *card < 0 ? 0 : *card + 1; c < (int) s.ports.size(); ++c)
    {
        if (! isUnplugged (*s.ports[(size_t) c]))
        {
            *card = c;
            return 0;
        }
    }

    *card = -1;
    return 0;
}

int snd_card_load (int card)
{
    auto lock = lockState();
    Port* p = portForCard (card);
    return p != nullptr && ! isUnplugged (*p) ? 1 : 0;
}

int snd_card_get_index (const char* name)
{
    if (name == nullptr)
        return -EINVAL;

    auto lock = lockState();
    int card = -1;
    if (! parseCardNumber (name, card))
        return -ENODEV;
    Port* p = portForCard (card);
    return p != nullptr && ! isUnplugged (*p) ? card : -ENODEV;
}

int snd_card_get_name (int card, char** name)
{
    if (name == nullptr)
        return -EINVAL;

    auto lock = lockState();
    Port* p = portForCard (card);
    if (p == nullptr || isUnplugged (*p))
        return -ENODEV;
    *name = duplicate (p->name);
    return *name != nullptr ? 0 : -ENOMEM;
}

int snd_card_get_longname (int card, char** name)
{
    if (name == nullptr)
        return -EINVAL;

    auto lock = lockState();
    Port* p = portForCard (card);
    if (p == nullptr || isUnplugged (*p))
        return -ENODEV;
    snd_ctl_card_info_t info;
    fillCardInfo (*p, &info);
    *name = duplicate (info.longname);
    return *name != nullptr ? 0 : -ENOMEM;
}

// --- Control ------------------------------------------------------------------------------

int snd_ctl_open (snd_ctl_t** ctl, const char* name, int mode)
{
    (void) mode;
    if (ctl == nullptr || name == nullptr)
        return -EINVAL;
    *ctl = nullptr;

    auto lock = lockState();
    int card = 0, device = 0, subdevice = -1;
    if (! parseDeviceName (name, card, device, subdevice))
        return -ENOENT;

    Port* p = portForCard (card);
    if (p == nullptr)
        return -ENOENT;
    if (isUnplugged (*p))
        return -ENODEV;

    *ctl = new _snd_ctl { card, name };
    return 0;
}

int snd_ctl_open_lconf (snd_ctl_t** ctl, const char* name, int mode, snd_config_t* lconf)
{
    (void) lconf;
    return snd_ctl_open (ctl, name, mode);
}

int snd_ctl_close (snd_ctl_t* ctl)
{
    if (ctl == nullptr)
        return -EINVAL;
    delete ctl;
    return 0;
}

const char* snd_ctl_name (snd_ctl_t* ctl)
{
    return ctl != nullptr ? ctl->name.c_str() : nullptr;
}

snd_ctl_type_t snd_ctl_type (snd_ctl_t* ctl)
{
    (void) ctl;
    return SND_CTL_TYPE_HW;
}

int snd_ctl_card_info (snd_ctl_t* ctl, snd_ctl_card_info_t* info)
{
    if (ctl == nullptr || info == nullptr)
        return -EINVAL;

    auto lock = lockState();
    Port* p = portForCard (ctl->card);
    if (p == nullptr || isUnplugged (*p))
        return -ENODEV;
    fillCardInfo (*p, info);
    return 0;
}

int snd_ctl_rawmidi_next_device (snd_ctl_t* ctl, int* device)
{
    if (ctl == nullptr || device == nullptr)
        return -EINVAL;

    auto lock = lockState();
    Port* p = portForCard (ctl->card);
    if (p == nullptr || isUnplugged (*p))
        return -ENODEV;
    *device = *device < 0 ? 0 : -1;
    return 0;
}

int snd_ctl_rawmidi_info (snd_ctl_t* ctl, snd_rawmidi_info_t* info)
{
    if (ctl == nullptr || info == nullptr)
        return -EINVAL;

    auto lock = lockState();
    Port* p = portForCard (ctl->card);
    if (p == nullptr || isUnplugged (*p))
        return -ENODEV;
    if (info->device != 0 || (info->subdevice != 0 && info->subdevice != (unsigned int) -1))
        return -ENXIO;
    if (info->stream != SND_RAWMIDI_STREAM_OUTPUT && info->stream != SND_RAWMIDI_STREAM_INPUT)
        return -EINVAL;
    if (info->subdevice == (unsigned int) -1)
        info->subdevice = 0;
    fillInfo (*p, info, info->stream);
    return 0;
}

int snd_ctl_rawmidi_prefer_subdevice (snd_ctl_t* ctl, int subdev)
{
    (void) subdev;
    return ctl != nullptr ? 0 : -EINVAL;
}

size_t snd_ctl_card_info_sizeof (void)
{
    return sizeof (snd_ctl_card_info_t);
}

int snd_ctl_card_info_malloc (snd_ctl_card_info_t** ptr)
{
    return allocateZeroed (ptr);
}

void snd_ctl_card_info_free (snd_ctl_card_info_t* obj) { std::free (obj); }
void snd_ctl_card_info_clear (snd_ctl_card_info_t* obj) { std::memset (obj, 0, sizeof (*obj)); }
void snd_ctl_card_info_copy (snd_ctl_card_info_t* dst, const snd_ctl_card_info_t* src) { *dst = *src; }
int snd_ctl_card_info_get_card (const snd_ctl_card_info_t* obj) { return obj->card; }
const char* snd_ctl_card_info_get_id (const snd_ctl_card_info_t* obj) { return obj->id; }
const char* snd_ctl_card_info_get_driver (const snd_ctl_card_info_t* obj) { return obj->driver; }
const char* snd_ctl_card_info_get_name (const snd_ctl_card_info_t* obj) { return obj->name; }
const char* snd_ctl_card_info_get_longname (const snd_ctl_card_info_t* obj) { return obj->longname; }
const char* snd_ctl_card_info_get_mixername (const snd_ctl_card_info_t* obj) { return obj->mixername; }
const char* snd_ctl_card_info_get_components (const snd_ctl_card_info_t* obj) { return obj->components; }

// --- RawMIDI info, params and status containers -------------------------------------------

size_t snd_rawmidi_info_sizeof (void)
{
    return sizeof (snd_rawmidi_info_t);
}

int snd_rawmidi_info_malloc (snd_rawmidi_info_t** ptr)
{
    return allocateZeroed (ptr);
}

void snd_rawmidi_info_free (snd_rawmidi_info_t* obj) { std::free (obj); }
void snd_rawmidi_info_copy (snd_rawmidi_info_t* dst, const snd_rawmidi_info_t* src) { *dst = *src; }
unsigned int snd_rawmidi_info_get_device (const snd_rawmidi_info_t* obj) { return obj->device; }
unsigned int snd_rawmidi_info_get_subdevice (const snd_rawmidi_info_t* obj) { return obj->subdevice; }
snd_rawmidi_stream_t snd_rawmidi_info_get_stream (const snd_rawmidi_info_t* obj) { return (snd_rawmidi_stream_t) obj->stream; }
int snd_rawmidi_info_get_card (const snd_rawmidi_info_t* obj) { return obj->card; }
unsigned int snd_rawmidi_info_get_flags (const snd_rawmidi_info_t* obj) { return obj->flags; }
const char* snd_rawmidi_info_get_id (const snd_rawmidi_info_t* obj) { return obj->id; }
const char* snd_rawmidi_info_get_name (const snd_rawmidi_info_t* obj) { return obj->name; }
const char* snd_rawmidi_info_get_subdevice_name (const snd_rawmidi_info_t* obj) { return obj->subname; }
unsigned int snd_rawmidi_info_get_subdevices_count (const snd_rawmidi_info_t* obj) { return obj->subdevicesCount; }
unsigned int snd_rawmidi_info_get_subdevices_avail (const snd_rawmidi_info_t* obj) { return obj->subdevicesAvail; }
void snd_rawmidi_info_set_device (snd_rawmidi_info_t* obj, unsigned int val) { obj->device = val; }
void snd_rawmidi_info_set_subdevice (snd_rawmidi_info_t* obj, unsigned int val) { obj->subdevice = val; }
void snd_rawmidi_info_set_stream (snd_rawmidi_info_t* obj, snd_rawmidi_stream_t val) { obj->stream = (int) val; }

size_t snd_rawmidi_params_sizeof (void)
{
    return sizeof (snd_rawmidi_params_t);
}

int snd_rawmidi_params_malloc (snd_rawmidi_params_t** ptr)
{
    return allocateZeroed (ptr);
}

void snd_rawmidi_params_free (snd_rawmidi_params_t* obj) { std::free (obj); }
void snd_rawmidi_params_copy (snd_rawmidi_params_t* dst, const snd_rawmidi_params_t* src) { *dst = *src; }

int snd_rawmidi_params_set_buffer_size (snd_rawmidi_t* rmidi, snd_rawmidi_params_t* params, size_t val)
{
    (void) rmidi;
    params->bufferSize = val;
    return 0;
}

size_t snd_rawmidi_params_get_buffer_size (const snd_rawmidi_params_t* params) { return params->bufferSize; }

int snd_rawmidi_params_set_avail_min (snd_rawmidi_t* rmidi, snd_rawmidi_params_t* params, size_t val)
{
    (void) rmidi;
    params->availMin = val;
    return 0;
}

size_t snd_rawmidi_params_get_avail_min (const snd_rawmidi_params_t* params) { return params->availMin; }

int snd_rawmidi_params_set_no_active_sensing (snd_rawmidi_t* rmidi, snd_rawmidi_params_t* params, int val)
{
    (void) rmidi;
    params->noActiveSensing = val;
    return 0;
}

int snd_rawmidi_params_get_no_active_sensing (const snd_rawmidi_params_t* params) { return params->noActiveSensing; }

int snd_rawmidi_params_set_read_mode (const snd_rawmidi_t* rawmidi, snd_rawmidi_params_t* params, snd_rawmidi_read_mode_t val)
{
    (void) rawmidi;
    if (val != SND_RAWMIDI_READ_STANDARD)
        return -EINVAL;     // only plain byte reads
    params->readMode = (int) val;
    return 0;
}

snd_rawmidi_read_mode_t snd_rawmidi_params_get_read_mode (const snd_rawmidi_params_t* params)
{
    return (snd_rawmidi_read_mode_t) params->readMode;
}

int snd_rawmidi_params_set_clock_type (const snd_rawmidi_t* rawmidi, snd_rawmidi_params_t* params, snd_rawmidi_clock_t val)
{
    (void) rawmidi;
    params->clockType = (int) val;
    return 0;
}

snd_rawmidi_clock_t snd_rawmidi_params_get_clock_type (const snd_rawmidi_params_t* params)
{
    return (snd_rawmidi_clock_t) params->clockType;
}

size_t snd_rawmidi_status_sizeof (void)
{
    return sizeof (snd_rawmidi_status_t);
}

int snd_rawmidi_status_malloc (snd_rawmidi_status_t** ptr)
{
    return allocateZeroed (ptr);
}

void snd_rawmidi_status_free (snd_rawmidi_status_t* obj) { std::free (obj); }
void snd_rawmidi_status_copy (snd_rawmidi_status_t* dst, const snd_rawmidi_status_t* src) { *dst = *src; }
void snd_rawmidi_status_get_tstamp (const snd_rawmidi_status_t* obj, snd_htimestamp_t* ptr) { *ptr = obj->tstamp; }
size_t snd_rawmidi_status_get_avail (const snd_rawmidi_status_t* obj) { return obj->avail; }
size_t snd_rawmidi_status_get_xruns (const snd_rawmidi_status_t* obj) { return obj->xruns; }

// --- RawMIDI streams ----------------------------------------------------------------------

int snd_rawmidi_open (snd_rawmidi_t** in_rmidi, snd_rawmidi_t** out_rmidi, const char* name, int mode)
{
    return openPort (in_rmidi, out_rmidi, name, mode);
}

int snd_rawmidi_open_lconf (snd_rawmidi_t** in_rmidi, snd_rawmidi_t** out_rmidi, const char* name, int mode,
                            snd_config_t* lconf)
{
    (void) lconf;
    return openPort (in_rmidi, out_rmidi, name, mode);
}

int snd_rawmidi_close (snd_rawmidi_t* rmidi)
{
    if (rmidi == nullptr)
        return -EINVAL;
    return closeHandle (rmidi, false);
}

int snd_rawmidi_info (snd_rawmidi_t* rmidi, snd_rawmidi_info_t* info)
{
    if (info == nullptr)
        return -EINVAL;

    auto lock = lockState();
    if (const int err = checkHandle (rmidi, "info"))
        return err;
    info->device = 0;
    info->subdevice = 0;
    fillInfo (*rmidi->port, info, rmidi->stream);
    return 0;
}

const char* snd_rawmidi_name (snd_rawmidi_t* rmidi)
{
    return rmidi != nullptr ? rmidi->name.c_str() : nullptr;
}

snd_rawmidi_type_t snd_rawmidi_type (snd_rawmidi_t* rmidi)
{
    (void) rmidi;
    return SND_RAWMIDI_TYPE_HW;
}

snd_rawmidi_stream_t snd_rawmidi_stream (snd_rawmidi_t* rawmidi)
{
    return rawmidi->stream;
}

int snd_rawmidi_nonblock (snd_rawmidi_t* rmidi, int nonblock)
{
    auto lock = lockState();
    if (const int err = checkHandle (rmidi, "nonblock"))
        return err;
    rmidi->nonblock = nonblock != 0;
    return 0;
}

int snd_rawmidi_params (snd_rawmidi_t* rmidi, snd_rawmidi_params_t* params)
{
    if (params == nullptr)
        return -EINVAL;

    auto lock = lockState();
    if (const int err = checkHandle (rmidi, "params"))
        return err;
    if (params->bufferSize < 32 || params->availMin < 1 || params->availMin > params->bufferSize)
        return -EINVAL;
    return 0;       // the buffer stays at its fixed size, as params_current shows
}

int snd_rawmidi_params_current (snd_rawmidi_t* rmidi, snd_rawmidi_params_t* params)
{
    if (params == nullptr)
        return -EINVAL;

    auto lock = lockState();
    if (const int err = checkHandle (rmidi, "params"))
        return err;
    std::memset (params, 0, sizeof (*params));
    params->bufferSize = rmidi->stream == SND_RAWMIDI_STREAM_OUTPUT ? virtualpedal::outputBufferSize
                                                                    : virtualpedal::inputBufferSize;
    params->availMin = 1;
    params->noActiveSensing = 1;
    params->readMode = SND_RAWMIDI_READ_STANDARD;
    params->clockType = SND_RAWMIDI_CLOCK_NONE;
    return 0;
}

int snd_rawmidi_status (snd_rawmidi_t* rmidi, snd_rawmidi_status_t* status)
{
    if (status == nullptr)
        return -EINVAL;

    auto lock = lockState();
    if (const int err = checkHandle (rmidi, "status"))
        return err;

    Port& p = *rmidi->port;
    std::memset (status, 0, sizeof (*status));
    ::clock_gettime (CLOCK_MONOTONIC, &status->tstamp);

    if (rmidi->stream == SND_RAWMIDI_STREAM_OUTPUT)
    {
        advance (p);
        status->avail = virtualpedal::outputBufferSize - p.output.size();
    }
    else
    {
        status->avail = p.input.size();
        status->xruns = p.inputXruns;
        p.inputXruns = 0;
    }
    return 0;
}

int snd_rawmidi_drain (snd_rawmidi_t* rmidi)
{
    auto lock = lockState();
    if (const int err = checkHandle (rmidi, "drain"))
        return err;

    Port& p = *rmidi->port;
    if (rmidi->stream != SND_RAWMIDI_STREAM_OUTPUT)
        return 0;

    logEvent (p, "drain");
    const int err = drainOutput (rmidi, lock);
    updatePoll (rmidi);
    return err < 0 ? logError (p, "drain", err) : 0;
}

int snd_rawmidi_drop (snd_rawmidi_t* rmidi)
{
    auto lock = lockState();
    if (const int err = checkHandle (rmidi, "drop"))
        return err;

    Port& p = *rmidi->port;
    if (rmidi->stream == SND_RAWMIDI_STREAM_OUTPUT)
    {
        advance (p);            // what already left stays on the wire
        p.output.clear();
        p.credit = 0.0;
        logEvent (p, "drop");
    }
    else
    {
        p.input.clear();
        logEvent (p, "drop", "input");
    }

    updatePoll (rmidi);
    state().changed.notify_all();
    return 0;
}

ssize_t snd_rawmidi_write (snd_rawmidi_t* rmidi, const void* buffer, size_t size)
{
    auto lock = lockState();
    if (rmidi == nullptr || (buffer == nullptr && size > 0))
        return -EINVAL;
    if (rmidi->stream != SND_RAWMIDI_STREAM_OUTPUT)
        return -EINVAL;
    return writeOutput (rmidi, static_cast<const uint8_t*> (buffer), size, lock);
}

ssize_t snd_rawmidi_read (snd_rawmidi_t* rmidi, void* buffer, size_t size)
{
    auto lock = lockState();
    if (rmidi == nullptr || rmidi->stream != SND_RAWMIDI_STREAM_INPUT || (buffer == nullptr && size > 0))
        return -EINVAL;

    Port& p = *rmidi->port;
    for (;;)
    {
        if (isUnplugged (p))
            return logError (p, "read", -ENODEV);
        if (size == 0)
            return 0;
        if (! p.input.empty())
            break;
        if (rmidi->nonblock)
            return -EAGAIN;
        state().changed.wait (lock);
    }

    const size_t n = std::min (size, p.input.size());
    std::copy (p.input.begin(), p.input.begin() + (long) n, static_cast<uint8_t*> (buffer));
    p.input.erase (p.input.begin(), p.input.begin() + (long) n);
    logEvent (p, "read", std::to_string (n));
    updatePoll (rmidi);
    return (ssize_t) n;
}

ssize_t snd_rawmidi_tread (snd_rawmidi_t* rmidi, struct timespec* tstamp, void* buffer, size_t size)
{
    const ssize_t result = snd_rawmidi_read (rmidi, buffer, size);
    if (tstamp != nullptr)
        ::clock_gettime (CLOCK_MONOTONIC, tstamp);
    return result;
}

int snd_rawmidi_poll_descriptors_count (snd_rawmidi_t* rmidi)
{
    return rmidi != nullptr ? 1 : 0;
}

int snd_rawmidi_poll_descriptors (snd_rawmidi_t* rmidi, struct pollfd* pfds, unsigned int space)
{
    if (rmidi == nullptr || pfds == nullptr || space < 1)
        return 0;

    // Both streams' descriptors signal by becoming readable; revents translates.
    pfds[0].fd = rmidi->pollFd;
    pfds[0].events = POLLIN | POLLERR | POLLNVAL;
    pfds[0].revents = 0;
    return 1;
}

int snd_rawmidi_poll_descriptors_revents (snd_rawmidi_t* rawmidi, struct pollfd* pfds, unsigned int nfds,
                                          unsigned short* revent)
{
    if (rawmidi == nullptr || pfds == nullptr || revent == nullptr || nfds != 1)
        return -EINVAL;

    auto lock = lockState();
    Port& p = *rawmidi->port;
    unsigned short events = (unsigned short) (pfds[0].revents & (POLLERR | POLLNVAL));

    if (isUnplugged (p))
    {
        events |= POLLERR | POLLHUP;
    }
    else if (rawmidi->stream == SND_RAWMIDI_STREAM_OUTPUT)
    {
        advance (p);
        if (p.output.size() < virtualpedal::outputBufferSize)
            events |= POLLOUT;
    }
    else if (! p.input.empty())
    {
        events |= POLLIN;
    }

    updatePoll (rawmidi);
    *revent = events;
    return 0;
}

// --- Control of the pedal itself ----------------------------------------------------------

int virtual_pedal_configure (const char* options)
{
    Options parsed;
    std::string error;
    if (! virtualpedal::parseOptions (options != nullptr ? options : "", parsed, error))
        return -1;

    auto lock = lockState();
    applyOptions (parsed);
    state().changed.notify_all();
    return 0;
}

long virtual_pedal_captured (int port, unsigned char* dest, long max)
{
    auto lock = lockState();
    Port* p = portByNumber (port);
    if (p == nullptr)
        return -1;

    advance (*p);
    if (dest != nullptr && max > 0)
        std::copy_n (p->wire.begin(), std::min ((size_t) max, p->wire.size()), dest);
    return (long) p->wire.size();
}

int virtual_pedal_count (int port, const char* event)
{
    auto lock = lockState();
    Port* p = portByNumber (port);
    if (p == nullptr || event == nullptr)
        return -1;

    const auto found = p->counts.find (event);
    return found == p->counts.end() ? 0 : found->second;
}

const char* virtual_pedal_log (void)
{
    thread_local std::string text;
    auto lock = lockState();
    text.clear();
    for (const auto& line : state().log)
        text += line + "\n";
    return text.c_str();
}

const char* virtual_pedal_verdict (int port)
{
    thread_local std::string text;
    auto lock = lockState();
    Port* p = portByNumber (port);
    if (p == nullptr)
    {
        text = "no such port";
        return text.c_str();
    }

    advance (*p);
    text = virtualpedal::analyseCapture (p->wire.data(), p->wire.size()).verdict;
    return text.c_str();
}

int virtual_pedal_send_to_host (int port, const unsigned char* data, long size)
{
    if (size < 0 || (data == nullptr && size > 0))
        return -1;

    auto lock = lockState();
    Port* p = portByNumber (port);
    if (p == nullptr)
        return -1;
    queueInput (*p, data, (size_t) size);
    return 0;
}

} // extern "C"
