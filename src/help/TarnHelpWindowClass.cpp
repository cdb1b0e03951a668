#include "help/TarnHelpWindowClass.h"

#include "help/TarnHelpWindowContentComp.h"

TarnHelpWindowClass::TarnHelpWindowClass()
{
    auto* content = new TarnHelpWindowContentComp();
    setResizable (true, false);
    setContentOwned (content, false);
    setName ("Firmware Update Help");
}

TarnHelpWindowClass::~TarnHelpWindowClass() = default;
