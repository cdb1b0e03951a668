#include "firmware/FileFirmwareClass.h"

#include <juce_gui_basics/juce_gui_basics.h>

const char* const FileFirmwareClass::notFoundMessage =
    "A firmware file was specified, but it could not be found.\n The application will use the build-in firmware version.";

juce::String FileFirmwareClass::notFoundTitle (const juce::String& path)
{
    return "File " + path + " not found";
}

juce::File FileFirmwareClass::resolvePath (const juce::String& path)
{
    const auto name = path.trim().unquoted();

    if (name.isEmpty())
        return {};

    return juce::File::getCurrentWorkingDirectory().getChildFile (name);
}

FileFirmwareClass::FileFirmwareClass (const juce::String& path)
    : FirmwareBaseClass ({}, {}, 0)
{
    const auto file = resolvePath (path);

    if (file == juce::File() || ! file.existsAsFile())
    {
        juce::AlertWindow::showMessageBox (juce::MessageBoxIconType::NoIcon,
                                           notFoundTitle (path.trim().unquoted()),
                                           notFoundMessage);
        return;
    }

    const auto size = file.getSize();

    if (size <= 0 || size > std::numeric_limits<int>::max())
        return;

    auto stream = file.createInputStream();

    if (stream == nullptr)
        return;

    auto block = std::make_unique<juce::MemoryBlock>();

    // A short read (the file changed or could not be read) leaves no image rather than a cut one.
    if ((juce::int64) stream->readIntoMemoryBlock (*block, (ssize_t) size) != size)
        return;

    stream.reset();
    fileData = std::move (block);

    imageData = static_cast<const juce::uint8*> (fileData->getData());
    imageSize = (juce::int64) fileData->getSize();
    setProductName (file.getFileNameWithoutExtension());
}

FileFirmwareClass::~FileFirmwareClass() = default;
