#include "app/Application.h"

#include "app/MainWindow.h"
#include "app/XInputQueueWatcher.h"

Application::Application() = default;
Application::~Application() = default;

const juce::String Application::getApplicationName() { return "Brindle by larkspur audio"; }
const juce::String Application::getApplicationVersion() { return "1.0"; }
bool Application::moreThanOneInstanceAllowed() { return false; }

void Application::initialise (const juce::String& commandLine)
{
    // First: the panel may show a message box before the window is up.
    inputQueueWatcher = std::make_unique<XInputQueueWatcher>();
    mainWindow = std::make_unique<MainWindow> (commandLine);
    mainWindow->centreWithSize (windowWidth, windowHeight);
    mainWindow->setVisible (true);
    mainWindow->setResizeLimits (windowWidth, windowHeight, windowWidth, windowHeight);
}

void Application::shutdown()
{
    mainWindow = nullptr;
    inputQueueWatcher = nullptr;
}

void Application::anotherInstanceStarted (const juce::String&)
{
    // A second start changes nothing in the running one.
}
