#pragma once

#include <juce_core/juce_core.h>

/** The firmware descriptor: where the image bytes are, how many there are, and the
    product name, version and release number shown to the user.

    The descriptor never owns the bytes it points at unless a derived class says so.
*/
class FirmwareBaseClass
{
public:
    FirmwareBaseClass (const juce::String& productName,
                       const juce::String& firmwareVersion,
                       int releaseNumber);

    // Virtual so that the owner can delete any descriptor through this base and the
    // derived part (a file's memory block) is released with it.
    virtual ~FirmwareBaseClass();

    /** The first image byte, or nullptr when the descriptor holds no image. */
    const juce::uint8* getImageData() const noexcept { return imageData; }

    /** The image size as a 32-bit count (the low 32 bits of the stored size). */
    int getImageSize() const noexcept { return (int) (juce::uint32) (juce::uint64) imageSize; }

    juce::String getProductName() const { return productName; }
    void setProductName (const juce::String& newName) { productName = newName; }
    juce::String getFirmwareVersion() const { return firmwareVersion; }
    int getReleaseNumber() const noexcept { return releaseNumber; }

protected:
    const juce::uint8* imageData = nullptr;
    juce::int64 imageSize = 0;

private:
    juce::String productName;
    juce::String firmwareVersion;
    int releaseNumber;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FirmwareBaseClass)
};
