#include "support/AppProcess.h"

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

AppProcess::AppProcess (const juce::StringArray& arguments,
                        const juce::StringPairArray& extraEnvironment,
                        const juce::File& logFile)
    : log (logFile == juce::File() ? juce::File::createTempFile (".log") : logFile)
{
    std::vector<std::string> args, env;
    for (const auto& a : arguments)
        args.push_back (a.toStdString());

    for (char** e = environ; *e != nullptr; ++e)
    {
        const juce::String entry (*e);
        if (! extraEnvironment.containsKey (entry.upToFirstOccurrenceOf ("=", false, false)))
            env.push_back (*e);
    }
    for (const auto& key : extraEnvironment.getAllKeys())
        env.push_back ((key + "=" + extraEnvironment[key]).toStdString());

    std::vector<char*> argv, envp;
    for (auto& a : args)
        argv.push_back (a.data());
    argv.push_back (nullptr);
    for (auto& e : env)
        envp.push_back (e.data());
    envp.push_back (nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init (&actions);
    posix_spawn_file_actions_addopen (&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen (&actions, STDOUT_FILENO, log.getFullPathName().toRawUTF8(),
                                      O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2 (&actions, STDOUT_FILENO, STDERR_FILENO);

    if (posix_spawnp (&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
        pid = -1;

    posix_spawn_file_actions_destroy (&actions);
}

AppProcess::~AppProcess()
{
    kill();
}

bool AppProcess::isRunning()
{
    return ! waitForExit (0).has_value() && pid > 0;
}

std::optional<int> AppProcess::waitForExit (int timeoutMs)
{
    if (exitStatus || pid <= 0)
        return exitStatus;

    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    for (;;)
    {
        int status = 0;
        if (waitpid (pid, &status, WNOHANG) == pid)
        {
            exitStatus = WIFEXITED (status) ? WEXITSTATUS (status) : 128 + WTERMSIG (status);
            return exitStatus;
        }

        if (juce::Time::getMillisecondCounter() >= end)
            return std::nullopt;

        juce::Thread::sleep (10);
    }
}

void AppProcess::kill()
{
    if (pid > 0 && ! exitStatus)
    {
        // The wrapper's children are in our process group only if started so; kill the
        // program the wrapper runs too.
        const auto children = juce::String ("pkill -KILL -P ") + juce::String (pid);
        std::system (children.toRawUTF8());
        ::kill (pid, SIGKILL);
        waitForExit (5000);
    }
}

juce::String AppProcess::readLog() const
{
    return log.loadFileAsString();
}

bool AppProcess::waitForOutput (const juce::String& text, int timeoutMs) const
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    while (! readLog().contains (text))
    {
        if (juce::Time::getMillisecondCounter() >= end)
            return false;
        juce::Thread::sleep (20);
    }

    return true;
}

juce::String BrindleCommands::app()
{
    return BRINDLE_APP_PATH;
}

juce::String BrindleCommands::virtualPedal()
{
    return juce::String (BRINDLE_SOURCE_DIR) + "/tools/virtual-pedal";
}

juce::StringArray BrindleCommands::underPedal (const juce::StringArray& pedalOptions,
                                               const juce::StringArray& appArguments)
{
    juce::StringArray command { virtualPedal() };
    command.addArray (pedalOptions);
    command.add ("--");
    command.add (app());
    command.addArray (appArguments);
    return command;
}
