#include "app/AppIcon.h"

#include "BrindleBinaryData.h"

juce::Image AppIcon::getImage()
{
    for (int i = 0; i < BrindleBinaryData::namedResourceListSize; ++i)
    {
        if (juce::String (BrindleBinaryData::originalFilenames[i]) == resourceFileName)
        {
            int size = 0;
            const char* data = BrindleBinaryData::getNamedResource (BrindleBinaryData::namedResourceList[i], size);

            // The cache decodes the PNG once and hands out the same image afterwards.
            return juce::ImageCache::getFromMemory (data, size);
        }
    }

    jassertfalse;
    return {};
}

void AppIcon::applyTo (juce::Component& window)
{
    if (auto* peer = window.getPeer())
    {
        auto image = getImage();

        if (image.isValid())
            peer->setIcon (image);
    }
}
