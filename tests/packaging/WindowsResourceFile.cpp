#include "packaging/WindowsResourceFile.h"

namespace
{
/** A little-endian cursor over the file that stops at the first read past its end. */
struct Reader
{
    const juce::uint8* bytes;
    size_t size;
    size_t pos = 0;
    bool failed = false;

    bool has (size_t count) const noexcept { return ! failed && pos + count <= size; }

    juce::uint16 u16()
    {
        if (! has (2))
        {
            failed = true;
            return 0;
        }

        auto value = (juce::uint16) (bytes[pos] | (bytes[pos + 1] << 8));
        pos += 2;
        return value;
    }

    juce::uint32 u32()
    {
        auto low = u16();
        auto high = u16();
        return (juce::uint32) low | ((juce::uint32) high << 16);
    }

    void alignTo4() noexcept { pos = (pos + 3) & ~(size_t) 3; }

    /** A type or name: 0xffff and a number, or a zero-terminated UTF-16 string. */
    void readIdentifier (int& id, juce::String& text)
    {
        if (has (2) && bytes[pos] == 0xff && bytes[pos + 1] == 0xff)
        {
            u16();
            id = u16();
            return;
        }

        id = -1;

        for (auto c = u16(); c != 0 && ! failed; c = u16())
            text += juce::String::charToString ((juce::juce_wchar) c);
    }
};
} // namespace

std::optional<WindowsResourceFile> WindowsResourceFile::parse (const juce::MemoryBlock& bytes)
{
    WindowsResourceFile file;
    Reader reader { static_cast<const juce::uint8*> (bytes.getData()), bytes.getSize() };

    while (reader.has (8))
    {
        const auto start = reader.pos;
        const auto dataSize = reader.u32();
        const auto headerSize = reader.u32();

        Resource resource;
        reader.readIdentifier (resource.typeId, resource.typeName);
        reader.readIdentifier (resource.nameId, resource.name);
        reader.alignTo4();
        reader.u32();                            // data version
        reader.u16();                            // memory flags
        resource.language = reader.u16();
        reader.u32();                            // version
        reader.u32();                            // characteristics

        if (reader.failed || reader.pos != start + headerSize)
            return std::nullopt;

        if (! reader.has (dataSize))
            return std::nullopt;

        resource.data.append (reader.bytes + reader.pos, dataSize);
        reader.pos += dataSize;
        reader.alignTo4();

        // The file opens with an empty record that only marks it as a 32-bit resource file.
        if (! (dataSize == 0 && resource.typeId == 0 && resource.nameId == 0))
            file.resources.add (std::move (resource));
    }

    if (reader.pos < bytes.getSize())
        return std::nullopt;

    return file;
}

juce::Array<const WindowsResourceFile::Resource*> WindowsResourceFile::ofType (int typeId) const
{
    juce::Array<const Resource*> found;

    for (auto& resource : resources)
        if (resource.typeId == typeId)
            found.add (&resource);

    return found;
}

const WindowsResourceFile::Resource* WindowsResourceFile::find (int typeId, int nameId) const
{
    for (auto& resource : resources)
        if (resource.typeId == typeId && resource.nameId == nameId)
            return &resource;

    return nullptr;
}
