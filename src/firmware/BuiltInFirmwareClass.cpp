#include "firmware/BuiltInFirmwareClass.h"

#include "BrindleBinaryData.h"

BuiltInFirmwareClass::BuiltInFirmwareClass()
    : FirmwareBaseClass ("TarnReverb", BRINDLE_FIRMWARE_VERSION, BRINDLE_FIRMWARE_RELEASE)
{
    // The embedded resources are named after their files; find the firmware's by file name.
    int size = 0;
    const char* data = nullptr;

    for (int i = 0; i < BrindleBinaryData::namedResourceListSize && data == nullptr; ++i)
        if (juce::String (BrindleBinaryData::originalFilenames[i]) == BRINDLE_FIRMWARE_FILE_NAME)
            data = BrindleBinaryData::getNamedResource (BrindleBinaryData::namedResourceList[i], size);

    jassert (data != nullptr);

    imageData = reinterpret_cast<const juce::uint8*> (data);
    imageSize = size;
}
