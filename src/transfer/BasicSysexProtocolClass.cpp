#include "transfer/BasicSysexProtocolClass.h"

#include "firmware/FirmwareBaseClass.h"
#include "firmware/SysexImage.h"
#include "midi/InterfaceBaseClass.h"
#include "panel/AutoUpdateMode.h"

const char* const BasicSysexProtocolClass::uploadingText = "Uploading firmware";
const char* const BasicSysexProtocolClass::completedText = "Update completed";

BasicSysexProtocolClass::BasicSysexProtocolClass (InterfaceBaseClass* device, FirmwareBaseClass* firmwareToSend)
    : ProtocolBaseClass (device, firmwareToSend)
{
    setChangeSource (this);
}

BasicSysexProtocolClass::~BasicSysexProtocolClass()
{
    stopThread (stopTimeoutMs);
}

void BasicSysexProtocolClass::startUpdate()
{
    if (! isThreadRunning())
    {
        {
            const juce::ScopedLock sl (ProgressValueLock);
            progressValue = 0.0;
            setProgress (progressValue);
        }

        outcome = Outcome::uploading;
        startThread();
    }
    else
    {
        const juce::ScopedLock sl (ProgressValueLock);

        if (progressValue == 1.0)
        {
            progressValue = 0.0;
            setProgress (0.0);
        }
    }
}

bool BasicSysexProtocolClass::setDeviceEnabled (bool shouldBeEnabled)
{
    // Gives up when asked to stop, so that a close waiting for this thread is not held
    // up by the lock the message thread owns.
    const MessageThreadLock::ScopedEntry mmLock (deviceLock);

    if (! mmLock.lockWasGained())
        return false;

    if (deviceInterface != nullptr)
        deviceInterface->setEnabled (shouldBeEnabled);

    return true;
}

void BasicSysexProtocolClass::fail (const juce::String& reason)
{
    outcome = Outcome::failed;
    setStatusText ("Update failed: " + reason);
    setDeviceEnabled (true);
}

void BasicSysexProtocolClass::finishCompleted()
{
    outcome = Outcome::completed;
    setStatusText (completedText);
    setDeviceEnabled (true);

    if (autoUpdateMode.load())
        if (auto* app = juce::JUCEApplicationBase::getInstance())
            app->systemRequestedQuit();
}

void BasicSysexProtocolClass::run()
{
    const auto* imageStart = firmware != nullptr ? firmware->getImageData() : nullptr;
    const auto totalBytes = firmware != nullptr ? (juce::uint32) firmware->getImageSize() : 0u;

    if (const auto imageCheck = SysexImage::check (imageStart, totalBytes); imageCheck.failed())
    {
        fail (imageCheck.getErrorMessage() + ". Nothing was sent to the device.");
        return;
    }

    if (deviceInterface == nullptr)
    {
        fail ("no MIDI output device is open. Select the pedal's MIDI output and try again.");
        return;
    }

    sendPosition = imageStart;
    const auto* messageStart = imageStart;
    const auto* imageEnd = imageStart + totalBytes;
    juce::uint32 sentBytes = 0;
    int sentMessages = 0;

    setStatusText (uploadingText);

    double loopProgress;
    {
        const juce::ScopedLock sl (ProgressValueLock);
        loopProgress = progressValue;
    }

    while (loopProgress != 1.0 && ! threadShouldExit())
    {
        if (! setDeviceEnabled (false))
            break;

        // The image was checked: every message starts with F0 and ends with an F7.
        jassert (*messageStart == SysexImage::startByte);
        const auto length = SysexImage::findMessageLength (messageStart, (int) (imageEnd - messageStart), 0);
        sendPosition = messageStart + length;

        const auto sent = deviceInterface->sendBytes (messageStart, length);

        if (sent.failed())
        {
            if (threadShouldExit())
                break; // the send was abandoned because of the stop request

            fail (sent.getErrorMessage() + " (after " + juce::String (sentMessages) + " of the image's messages were sent)");
            return;
        }

        messageStart = sendPosition;
        sentBytes += (juce::uint32) length;
        ++sentMessages;

        loopProgress = (double) sentBytes / (double) totalBytes;
        setProgress (loopProgress);

        const juce::ScopedLock sl (ProgressValueLock);
        progressValue = loopProgress;
    }

    if (loopProgress == 1.0 && ! threadShouldExit())
        finishCompleted();
    else
        outcome = Outcome::stopped;
}
