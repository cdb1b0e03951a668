#include "lookandfeel/ColouredDocumentWindow.h"
#include "lookandfeel/TemplateLookAndFeel.h"

#include <gtest/gtest.h>

using juce::Colour;

namespace
{
    /** A stand-in for the update panel: the same kinds of widget at the same places. */
    class PanelLikeComp : public juce::Component
    {
    public:
        PanelLikeComp()
        {
            for (auto* c : std::initializer_list<juce::Component*> { &combo, &info, &step1, &step2, &update, &progress, &help })
                addAndMakeVisible (c);

            combo.addItem ("(Disconnected)", 1);
            combo.addItem ("Lantern Reverb MIDI 1", 2);
            combo.setSelectedId (2, juce::dontSendNotification);
            update.setConnectedEdges (juce::Button::ConnectedOnLeft);
            update.setColour (juce::TextButton::buttonColourId, Colour (0xff7ebf7e));
            update.setColour (juce::TextButton::buttonOnColourId, Colour (0xff7ebf7e));
            progressLabel.attachToComponent (&progress, false);
        }

        void resized() override
        {
            const int w = getWidth();
            info.setBounds (10, 15, w - 20, 50);
            help.setBounds (w - 104, 2, 94, 30);
            step1.setBounds (10, 70, w - 20, 30);
            combo.setBounds (10, 105, w - 20, 24);
            step2.setBounds (10, 165, w - 20, 30);
            update.setBounds (w - 104, 215, 94, 30);
            progress.setBounds (10, 215, w - 114, 30);
        }

    private:
        double value = 0.5;
        juce::ComboBox combo;
        juce::Label info { {}, "This software updater will update your Lantern Reverb firmware to version 1.1.00 - R1861" };
        juce::Label step1 { {}, "STEP1" };
        juce::Label step2 { {}, "STEP2" };
        juce::TextButton update { "update" };
        juce::ProgressBar progress { value };
        juce::Label progressLabel { {}, "Update progress:" };
        juce::TextButton help { "Help" };
    };

    class WindowSnapshotTest : public testing::Test
    {
    protected:
        TemplateLookAndFeel lookAndFeel;

        void SetUp() override { juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel); }
        void TearDown() override { juce::LookAndFeel::setDefaultLookAndFeel (nullptr); }

        static juce::Image snapshot (juce::Component& window, const char* fileName)
        {
            const auto image = window.createComponentSnapshot (window.getLocalBounds(), true, 1.0f);
            const auto dir = juce::File (BRINDLE_BINARY_DIR).getChildFile ("artefacts");
            dir.createDirectory();
            const auto file = dir.getChildFile (fileName);
            file.deleteFile();

            juce::FileOutputStream out (file);
            juce::PNGImageFormat().writeImageToStream (image, out);
            return image;
        }

        static void expectNear (Colour actual, Colour expected, int tolerance = 3)
        {
            EXPECT_NEAR (actual.getRed(), expected.getRed(), tolerance);
            EXPECT_NEAR (actual.getGreen(), expected.getGreen(), tolerance);
            EXPECT_NEAR (actual.getBlue(), expected.getBlue(), tolerance);
        }
    };

    TEST_F (WindowSnapshotTest, MainWindowLikeFrameAndPanel)
    {
        ColouredDocumentWindow window ("Lantern Reverb version 1.1.00 - R1861",
                                       Colour (ColouredDocumentWindow::backgroundColourValue),
                                       Colour (ColouredDocumentWindow::titleBarColourValue),
                                       juce::DocumentWindow::allButtons, false);
        window.setResizable (true, false);
        window.setContentOwned (new PanelLikeComp(), false);
        window.setSize (650, 400);

        const auto image = snapshot (window, "lookandfeel_main_window.png");

        // Title bar from its colour at the top towards the background at its foot; panel on the background.
        expectNear (image.getPixelAt (100, 4), Colour (0xff3273a1), 8);
        expectNear (image.getPixelAt (100, 29), Colour (0xffeff2f3), 12);
        expectNear (image.getPixelAt (300, 380), Colour (0xffeff2f3), 0);

        // The close ball is blue beside its glyph, the minimise ball pale grey.
        const int closeX = 4 + 642 - 23 - 5;
        const auto close = image.getPixelAt (closeX + 5, 4 + 14);
        const auto minimise = image.getPixelAt (closeX - 28 - 23 + 5, 4 + 14);
        EXPECT_GT (close.getBlue(), close.getRed() + 20);
        EXPECT_LT (std::abs (minimise.getBlue() - minimise.getRed()), 15);

        // The content starts below the 26-pixel title bar. The progress bar is half filled:
        // grey on its left half, white on its right.
        const int contentX = 4, contentY = 4 + 26;
        expectNear (image.getPixelAt (contentX + 10 + 100, contentY + 215 + 14), Colour (0xffd3d3d3), 12);
        expectNear (image.getPixelAt (contentX + 10 + 500, contentY + 215 + 22), Colour (0xffffffff), 2);
    }

    TEST_F (WindowSnapshotTest, HelpLikeWindowWithReadOnlyText)
    {
        ColouredDocumentWindow window ("Firmware Update Help",
                                       Colour (ColouredDocumentWindow::backgroundColourValue),
                                       Colour (ColouredDocumentWindow::titleBarColourValue),
                                       juce::DocumentWindow::allButtons, false);
        window.setResizable (true, false);

        auto* editor = new juce::TextEditor();
        editor->setMultiLine (true, true);
        editor->setReadOnly (true);
        juce::String text;

        for (int i = 1; i <= 40; ++i)
            text << " " << i << ". A line of the update procedure that wraps in the box. \n";

        editor->setText (text, false);
        window.setContentOwned (editor, false);
        window.setSize (550, 400);

        const auto image = snapshot (window, "lookandfeel_help_window.png");

        // White text box, and a scroll bar whose track is shaded grey at the right.
        expectNear (image.getPixelAt (200, 300), Colour (0xffffffff), 40);
        const auto track = image.getPixelAt (550 - 4 - 9, 300);
        EXPECT_LT (track.getBrightness(), 0.98f);
    }
} // namespace
