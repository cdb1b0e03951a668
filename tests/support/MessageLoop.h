#pragma once

#include <juce_events/juce_events.h>

#include <functional>

/** Runs the message loop until the condition holds or the time is up; returns the condition. */
bool runMessageLoopUntil (const std::function<bool()>& condition, int timeoutMs = 10000);

/** Runs the message loop for this long, delivering what is pending. */
void runMessageLoopFor (int milliseconds);

/** Polls the condition (without running the message loop) until it holds or the time is up. */
bool pollUntil (const std::function<bool()>& condition, int timeoutMs = 10000);
