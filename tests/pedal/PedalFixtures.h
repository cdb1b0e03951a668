// Small fixtures for the virtual pedal's tests: SysEx messages, update streams, ALSA handles.
#pragma once

#include <VirtualPedalControl.h>

#include <alsa/asoundlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pedalfixtures
{
using Bytes = std::vector<uint8_t>;

/** F0, 7-bit bytes counting up from seed, F7: length bytes in all. */
inline Bytes sysex (int length, int seed = 0)
{
    Bytes m ((size_t) length);
    for (int i = 1; i < length - 1; ++i)
        m[(size_t) i] = (uint8_t) ((seed + i) & 0x7f);
    m.front() = 0xf0;
    m.back() = 0xf7;
    return m;
}

inline Bytes header (uint8_t command, uint8_t firstDataByte)
{
    return { 0xf0, 0x00, 0x7f, 0x7f, 0x00, 0x4c, command, firstDataByte };
}

inline Bytes openingMessage()
{
    auto m = header (0x51, 0x01);
    m.push_back (0xf7);
    return m;
}

inline Bytes closingMessage()
{
    auto m = header (0x52, 0x01);
    m.push_back (0xf7);
    return m;
}

inline Bytes dataBlock (int number, int count)
{
    auto m = header (0x52, 0x00);
    m.push_back ((uint8_t) ((number >> 7) & 0x7f));
    m.push_back ((uint8_t) (number & 0x7f));
    m.push_back ((uint8_t) ((count >> 7) & 0x7f));
    m.push_back ((uint8_t) (count & 0x7f));
    while (m.size() < 598)
        m.push_back ((uint8_t) ((m.size() * 7 + (size_t) number) & 0x7f));
    m.push_back (0xf7);
    return m;
}

inline Bytes& operator+= (Bytes& a, const Bytes& b)
{
    a.insert (a.end(), b.begin(), b.end());
    return a;
}

/** Opening message, blocks 0..count-1, closing message. */
inline Bytes update (int count)
{
    Bytes all = openingMessage();
    for (int i = 0; i < count; ++i)
        all += dataBlock (i, count);
    all += closingMessage();
    return all;
}

inline Bytes capturedBytes (int port)
{
    const long size = virtual_pedal_captured (port, nullptr, 0);
    Bytes bytes ((size_t) (size > 0 ? size : 0));
    if (size > 0)
        virtual_pedal_captured (port, bytes.data(), size);
    return bytes;
}

/** One open RawMIDI stream, closed at the end of the scope. */
struct Stream
{
    snd_rawmidi_t* handle = nullptr;
    int openResult = 0;

    static Stream output (const char* name = "hw:0,0,0", int mode = 0)
    {
        Stream s;
        s.openResult = snd_rawmidi_open (nullptr, &s.handle, name, mode);
        return s;
    }

    static Stream input (const char* name = "hw:0,0,0", int mode = SND_RAWMIDI_NONBLOCK)
    {
        Stream s;
        s.openResult = snd_rawmidi_open (&s.handle, nullptr, name, mode);
        return s;
    }

    Stream() = default;
    Stream (Stream&& other) noexcept : handle (other.handle), openResult (other.openResult) { other.handle = nullptr; }
    Stream& operator= (Stream&&) = delete;
    ~Stream() { close(); }

    int close()
    {
        const int result = handle != nullptr ? snd_rawmidi_close (handle) : 0;
        handle = nullptr;
        return result;
    }

    ssize_t write (const Bytes& bytes) { return snd_rawmidi_write (handle, bytes.data(), bytes.size()); }

    long avail()
    {
        snd_rawmidi_status_t* status = nullptr;
        snd_rawmidi_status_malloc (&status);
        const int err = snd_rawmidi_status (handle, status);
        const long result = err < 0 ? err : (long) snd_rawmidi_status_get_avail (status);
        snd_rawmidi_status_free (status);
        return result;
    }
};
} // namespace pedalfixtures
