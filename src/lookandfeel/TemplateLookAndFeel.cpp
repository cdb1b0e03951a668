#include "lookandfeel/TemplateLookAndFeel.h"

TemplateLookAndFeel::TemplateLookAndFeel() = default;
TemplateLookAndFeel::~TemplateLookAndFeel() = default;
