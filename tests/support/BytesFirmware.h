#pragma once

#include "firmware/FirmwareBaseClass.h"

#include <vector>

/** A firmware descriptor over bytes the test gives. */
class BytesFirmware : public FirmwareBaseClass
{
public:
    explicit BytesFirmware (std::vector<juce::uint8> bytes)
        : FirmwareBaseClass ("Test", "0", 0), data (std::move (bytes))
    {
        imageData = data.empty() ? nullptr : data.data();
        imageSize = (juce::int64) data.size();
    }

private:
    std::vector<juce::uint8> data;
};
