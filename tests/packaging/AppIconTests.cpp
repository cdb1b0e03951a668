// The program icon: the checked-in renderings, the embedded image and the X11 window icon.
#include "app/AppIcon.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace
{
juce::File iconDir()
{
    return juce::File (BRINDLE_SOURCE_DIR).getChildFile ("resources/icon");
}

juce::Image loadPng (const juce::File& file)
{
    return juce::ImageFileFormat::loadFrom (file);
}

/** Largest difference of any channel of any pixel; -1 if the sizes differ. */
int largestDifference (const juce::Image& a, const juce::Image& b)
{
    if (a.getBounds() != b.getBounds())
        return -1;

    int largest = 0;

    for (int y = 0; y < a.getHeight(); ++y)
    {
        for (int x = 0; x < a.getWidth(); ++x)
        {
            const auto pa = a.getPixelAt (x, y), pb = b.getPixelAt (x, y);
            // Colour of a transparent pixel is meaningless; compare alpha there.
            if (pa.getAlpha() == 0 && pb.getAlpha() == 0)
                continue;

            largest = juce::jmax (largest,
                                  std::abs (pa.getAlpha() - pb.getAlpha()),
                                  std::abs (pa.getRed() - pb.getRed()),
                                  juce::jmax (std::abs (pa.getGreen() - pb.getGreen()),
                                              std::abs (pa.getBlue() - pb.getBlue())));
        }
    }

    return largest;
}

TEST (AppIcon, CheckedInRenderingsHaveTheirSizes)
{
    for (int size : { 16, 32, 48, 64, 128, 256 })
    {
        const auto image = loadPng (iconDir().getChildFile ("brindle-" + juce::String (size) + ".png"));
        ASSERT_TRUE (image.isValid()) << size;
        EXPECT_EQ (image.getWidth(), size);
        EXPECT_EQ (image.getHeight(), size);
        EXPECT_TRUE (image.hasAlphaChannel()) << size;
        // The rounded corner: at 16 px its outermost pixel keeps a trace of coverage.
        EXPECT_LT (image.getPixelAt (0, 0).getAlpha(), 32) << "rounded corner at " << size;
        EXPECT_EQ (image.getPixelAt (size / 2, size / 2).getAlpha(), 255) << size;
    }
}

TEST (AppIcon, CheckedInRenderingsMatchTheSvg)
{
    const juce::File renderer (BRINDLE_RSVG_CONVERT);
    ASSERT_TRUE (renderer.existsAsFile()) << "rsvg-convert not found (Debian: librsvg2-bin)";

    for (int size : { 16, 48, 256 })
    {
        juce::TemporaryFile png (".png");
        juce::ChildProcess process;
        ASSERT_TRUE (process.start (juce::StringArray { renderer.getFullPathName(),
                                                        "--width", juce::String (size), "--height", juce::String (size),
                                                        "--format", "png", "--output", png.getFile().getFullPathName(),
                                                        iconDir().getChildFile ("brindle.svg").getFullPathName() }));
        const auto output = process.readAllProcessOutput();
        ASSERT_EQ (process.getExitCode(), 0u) << output;

        const auto rendered = loadPng (png.getFile());
        const auto checkedIn = loadPng (iconDir().getChildFile ("brindle-" + juce::String (size) + ".png"));
        // A few levels of slack for another librsvg's anti-aliasing; an edited SVG differs by far more.
        EXPECT_LE (largestDifference (rendered, checkedIn), 8)
            << size << " px: run tools/icons/render-icons.sh and check in the results";
        EXPECT_GE (largestDifference (rendered, checkedIn), 0) << size << " px rendering has another size";
    }
}

TEST (AppIcon, EmbeddedImageIsTheCheckedIn256PixelRendering)
{
    const auto image = AppIcon::getImage();
    ASSERT_TRUE (image.isValid());
    EXPECT_EQ (image.getWidth(), 256);
    EXPECT_EQ (image.getHeight(), 256);
    EXPECT_EQ (largestDifference (image, loadPng (iconDir().getChildFile ("brindle-256.png"))), 0);
}

/** Reads a window's _NET_WM_ICON: width, height, then ARGB pixels row by row. */
std::vector<unsigned long> readNetWmIcon (unsigned long window)
{
    std::vector<unsigned long> values;
    auto* display = XOpenDisplay (nullptr);

    if (display == nullptr)
        return values;

    const auto atom = XInternAtom (display, "_NET_WM_ICON", True);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;

    if (atom != None
        && XGetWindowProperty (display, (Window) window, atom, 0, 1 << 24, False, XA_CARDINAL,
                               &type, &format, &count, &remaining, &data) == Success
        && type == XA_CARDINAL && format == 32 && data != nullptr)
    {
        // Xlib returns 32-bit items as longs.
        auto* items = reinterpret_cast<unsigned long*> (data);
        values.assign (items, items + count);
    }

    if (data != nullptr)
        XFree (data);

    XCloseDisplay (display);
    return values;
}

TEST (AppIcon, ApplyToSetsTheWindowsNetWmIcon)
{
    ASSERT_NE (juce::SystemStats::getEnvironmentVariable ("DISPLAY", {}), juce::String())
        << "needs an X display (run under xvfb-run)";

    juce::DocumentWindow window ("Icon test", juce::Colours::white, 0, true);
    window.setSize (200, 100);
    window.setVisible (true);
    auto* peer = window.getPeer();
    ASSERT_NE (peer, nullptr);
    const auto windowId = (unsigned long) (juce::pointer_sized_uint) peer->getNativeHandle();

    EXPECT_TRUE (readNetWmIcon (windowId).empty()) << "a new window already has an icon";

    AppIcon::applyTo (window);
    const auto values = readNetWmIcon (windowId);
    const auto image = AppIcon::getImage();
    ASSERT_EQ (values.size(), 2u + 256u * 256u);
    EXPECT_EQ (values[0], 256u);
    EXPECT_EQ (values[1], 256u);

    int mismatches = 0;

    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            if ((values[2 + (size_t) (y * 256 + x)] & 0xffffffffu) != image.getPixelAt (x, y).getARGB())
                ++mismatches;

    EXPECT_EQ (mismatches, 0);
}
} // namespace
