#pragma once

#include "firmware/FirmwareBaseClass.h"

/** The firmware image compiled into the program. */
class BuiltInFirmwareClass : public FirmwareBaseClass
{
public:
    BuiltInFirmwareClass();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BuiltInFirmwareClass)
};
