#pragma once

#include "transfer/ProgressClass.h"

class InterfaceBaseClass;
class FirmwareBaseClass;

/** The base of transfer protocols: a thread bound to a device interface and a firmware
    descriptor (neither owned), reporting through its progress part. */
class ProtocolBaseClass : public juce::Thread,
                          public ProgressClass
{
public:
    ProtocolBaseClass (InterfaceBaseClass* deviceInterface, FirmwareBaseClass* firmware);
    ~ProtocolBaseClass() override;

    void run() override = 0;

    /** Starts a fresh transfer if none is running; resets a finished-but-not-yet-ended
        one's progress; otherwise does nothing. */
    virtual void startUpdate();

protected:
    InterfaceBaseClass* deviceInterface;
    FirmwareBaseClass* firmware;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProtocolBaseClass)
};
