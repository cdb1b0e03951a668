#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The program's glass look: palette, glass shapes and the drawing of the widgets.

    Drawing that is not overridden here is LookAndFeel_V2's.
*/
class TemplateLookAndFeel : public juce::LookAndFeel_V2
{
public:
    /** Palette roles that have no colour identifier of a widget. */
    enum ColourIds
    {
        buttonColourId = 0x2b00100,           /**< tick boxes */
        comboListBackgroundColourId = 0x2b00101,
        comboListTextColourId = 0x2b00102,
        comboListHighlightColourId = 0x2b00103,
        comboListHighlightedTextColourId = 0x2b00104
    };

    TemplateLookAndFeel();
    ~TemplateLookAndFeel() override;

    //==============================================================================
    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool isMouseOverButton, bool isButtonDown) override;

    void drawTickBox (juce::Graphics&, juce::Component&, float x, float y, float w, float h,
                      bool ticked, bool isEnabled, bool isMouseOverButton, bool isButtonDown) override;

    void drawProgressBar (juce::Graphics&, juce::ProgressBar&, int width, int height,
                          double progress, const juce::String& textToShow) override;

    //==============================================================================
    void drawScrollbarButton (juce::Graphics&, juce::ScrollBar&, int width, int height, int buttonDirection,
                              bool isScrollbarVertical, bool isMouseOverButton, bool isButtonDown) override;

    void drawScrollbar (juce::Graphics&, juce::ScrollBar&, int x, int y, int width, int height,
                        bool isScrollbarVertical, int thumbStartPosition, int thumbSize,
                        bool isMouseOver, bool isMouseDown) override;

    juce::ImageEffectFilter* getScrollbarEffect() override;

    void drawTextEditorOutline (juce::Graphics&, int width, int height, juce::TextEditor&) override;

    //==============================================================================
    void drawPopupMenuBackground (juce::Graphics&, int width, int height) override;
    void drawPopupMenuBackgroundWithOptions (juce::Graphics&, int width, int height,
                                             const juce::PopupMenu::Options&) override;
    void drawPopupMenuItemWithOptions (juce::Graphics&, const juce::Rectangle<int>& area, bool isHighlighted,
                                       const juce::PopupMenu::Item&, const juce::PopupMenu::Options&) override;
    void getIdealPopupMenuItemSizeWithOptions (const juce::String& text, bool isSeparator, int standardMenuItemHeight,
                                               int& idealWidth, int& idealHeight,
                                               const juce::PopupMenu::Options&) override;

    void drawMenuBarBackground (juce::Graphics&, int width, int height, bool isMouseOverBar,
                                juce::MenuBarComponent&) override;

    //==============================================================================
    void drawComboBox (juce::Graphics&, int width, int height, bool isButtonDown,
                       int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox&) override;

    /** The background of a combo box's drop-down list. */
    void drawComboBoxPopupBackground (juce::Graphics&, int width, int height);

    /** The font of the box's own text. */
    juce::Font getComboBoxFont (juce::ComboBox&) override;

    /** The font of the items of a combo box's drop-down list. */
    static juce::Font getComboBoxListFont();

    //==============================================================================
    void drawLinearSlider (juce::Graphics&, int x, int y, int width, int height,
                           float sliderPos, float minSliderPos, float maxSliderPos,
                           juce::Slider::SliderStyle, juce::Slider&) override;

    int getSliderThumbRadius (juce::Slider&) override;
    juce::Button* createSliderButton (juce::Slider&, bool isIncrement) override;
    juce::ImageEffectFilter* getSliderEffect (juce::Slider&) override;

    void drawCornerResizer (juce::Graphics&, int w, int h, bool isMouseOver, bool isMouseDragging) override;

    //==============================================================================
    void drawDocumentWindowTitleBar (juce::DocumentWindow&, juce::Graphics&, int w, int h,
                                     int titleSpaceX, int titleSpaceW,
                                     const juce::Image* icon, bool drawTitleTextOnLeft) override;

    juce::Button* createDocumentWindowButton (int buttonType) override;

    void positionDocumentWindowButtons (juce::DocumentWindow&,
                                        int titleBarX, int titleBarY, int titleBarW, int titleBarH,
                                        juce::Button* minimiseButton,
                                        juce::Button* maximiseButton,
                                        juce::Button* closeButton,
                                        bool positionTitleBarButtonsOnLeft) override;

    /** The colour the title bar's gradient starts from: the window's title-bar colour
        when it has one, else its background colour. */
    static juce::Colour findTitleBarColour (const juce::DocumentWindow&);

    /** The title text colour for a window background. */
    static juce::Colour getTitleTextColour (juce::Colour backgroundColour, bool isActive);

    //==============================================================================
    /** The colour a control is drawn in, from its own colour and state. */
    static juce::Colour createBaseColour (juce::Colour buttonColour,
                                          bool hasKeyboardFocus,
                                          bool isMouseOverButton,
                                          bool isButtonDown);

    /** Adds a closed rectangle whose chosen corners are quarter circles of cornerSize. */
    static void createRoundedPath (juce::Path& p,
                                   float x, float y, float w, float h, float cornerSize,
                                   bool curveTopLeft, bool curveTopRight,
                                   bool curveBottomLeft, bool curveBottomRight);

    /** A rounded glass bar with darkened ends and a bright band across its upper part. */
    static void drawGlassLozenge (juce::Graphics&,
                                  float x, float y, float width, float height,
                                  const juce::Colour& colour, float outlineThickness,
                                  bool flatOnLeft, bool flatOnRight, bool flatOnTop, bool flatOnBottom);

    /** A flatter two-tone bar. */
    void drawShinyButtonShape (juce::Graphics&,
                               float x, float y, float width, float height, float cornerSize,
                               const juce::Colour& colour, float outlineThickness,
                               bool flatOnLeft, bool flatOnRight, bool flatOnTop, bool flatOnBottom);

    /** A glass ball in the square (x, y, diameter, diameter). */
    static void drawGlassSphere (juce::Graphics&, float x, float y, float diameter,
                                 const juce::Colour& colour, float outlineThickness);

    //==============================================================================
    const juce::Colour minimiseButtonColour { 0xffeff2f3 };
    const juce::Colour maximiseButtonColour { 0xff9299a5 };
    const juce::Colour closeButtonColour { 0xff3273a1 };

private:
    void drawComboListItem (juce::Graphics&, const juce::Rectangle<int>& area, bool isHighlighted,
                            const juce::PopupMenu::Item&);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TemplateLookAndFeel)
};
