// The program's entry point. The framework's runner takes over from here: single-instance
// check, initialise, message loop, shutdown.
//
// Linux: the runner builds the command line from argv without the program path, joined by
// single blanks; an argument that holds a blank (a path the shell passed as one word) is
// put in double quotes, which the option parsing removes again when it makes the path.

#include "app/Application.h"

namespace
{
juce::JUCEApplicationBase* createApplication()
{
    return new Application();
}
} // namespace

#if JUCE_WINDOWS
// The Windows GUI entry: the runner reads the command line from the process itself.
int __stdcall WinMain (struct HINSTANCE__*, struct HINSTANCE__*, char*, int)
{
    juce::JUCEApplicationBase::createInstance = &createApplication;
    return juce::JUCEApplicationBase::main();
}
#else
int main (int argc, char* argv[])
{
    juce::JUCEApplicationBase::createInstance = &createApplication;
    return juce::JUCEApplicationBase::main (argc, const_cast<const char**> (argv));
}
#endif
