#include "transfer/ProtocolBaseClass.h"

ProtocolBaseClass::ProtocolBaseClass (InterfaceBaseClass* device, FirmwareBaseClass* firmwareToSend)
    : juce::Thread ("Protocol Thread")
    , deviceInterface (device)
    , firmware (firmwareToSend)
{
}

ProtocolBaseClass::~ProtocolBaseClass() = default;

void ProtocolBaseClass::startUpdate()
{
    if (! isThreadRunning())
    {
        setProgress (0.0);
        startThread (juce::Thread::Priority::low);
    }
    else if (getProgress() == 1.0)
    {
        setProgress (0.0);
    }
}
