#include "firmware/BuiltInFirmwareClass.h"

#include "BrindleBinaryData.h"

BuiltInFirmwareClass::BuiltInFirmwareClass()
    : FirmwareBaseClass ("TarnReverb", BRINDLE_FIRMWARE_VERSION, BRINDLE_FIRMWARE_RELEASE)
{
    // The image is the one embedded resource; its name follows the file's, so look it up.
    int size = 0;
    const char* data = BrindleBinaryData::getNamedResource (BrindleBinaryData::namedResourceList[0], size);

    imageData = reinterpret_cast<const juce::uint8*> (data);
    imageSize = size;
}
