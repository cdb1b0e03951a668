#include "firmware/FirmwareBaseClass.h"

FirmwareBaseClass::FirmwareBaseClass (const juce::String& name,
                                      const juce::String& version,
                                      int release)
    : productName (name)
    , firmwareVersion (version)
    , releaseNumber (release)
{
}

FirmwareBaseClass::~FirmwareBaseClass() = default;
