// The tests' main: the test thread is JUCE's message thread, set up as in the program itself.
#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
juce::JUCEApplicationBase* noApplication() { return nullptr; }
} // namespace

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);

    // Marks the process as a standalone program, so that JUCE sets up X as it does for the
    // real one (thread support and its X error handlers) when a window first appears.
    juce::JUCEApplicationBase::createInstance = &noApplication;

    juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
