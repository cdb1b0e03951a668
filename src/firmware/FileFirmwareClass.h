#pragma once

#include "firmware/FirmwareBaseClass.h"

/** A firmware image read whole from a SysEx file. A missing file shows a message box;
    an empty or unreadable one leaves the descriptor without an image. */
class FileFirmwareClass : public FirmwareBaseClass
{
public:
    explicit FileFirmwareClass (const juce::String& path);
    ~FileFirmwareClass() override;

    /** The file a command-line name stands for: surrounding quotation marks removed, a
        relative name taken from the working directory. */
    static juce::File resolvePath (const juce::String& path);

    static juce::String notFoundTitle (const juce::String& path);
    static const char* const notFoundMessage;

private:
    std::unique_ptr<juce::MemoryBlock> fileData;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FileFirmwareClass)
};
