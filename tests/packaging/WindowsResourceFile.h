#pragma once

#include <juce_core/juce_core.h>

#include <optional>

/** Reads a compiled Windows resource file (.res): a run of records, each a header naming the
    resource's type and name (a number or a string) followed by its data. */
class WindowsResourceFile
{
public:
    struct Resource
    {
        int typeId = -1;        // -1 when the type is a string
        juce::String typeName;
        int nameId = -1;        // -1 when the name is a string
        juce::String name;
        juce::uint16 language = 0;
        juce::MemoryBlock data;
    };

    /** Parses the file's bytes; nothing if a record runs past the end or is malformed. */
    static std::optional<WindowsResourceFile> parse (const juce::MemoryBlock& bytes);

    const juce::Array<Resource>& getResources() const noexcept { return resources; }

    /** All resources of a numbered type. */
    juce::Array<const Resource*> ofType (int typeId) const;

    /** The resource of a numbered type and name, or null. */
    const Resource* find (int typeId, int nameId) const;

    static constexpr int rtIcon = 3;
    static constexpr int rtVersion = 16;
    static constexpr int rtGroupIcon = 14;
    static constexpr int rtManifest = 24;

private:
    juce::Array<Resource> resources;
};
