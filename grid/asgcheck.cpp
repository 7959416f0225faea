// The cell checker's base: both text operations hand the value back unchanged.
#include "grid/asgcheck.h"

const TClassInfo& TExtStringGridCheck::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TExtStringGridCheck", .Parent = &TComponent::StaticClassInfo(),
                                  .Create = &CreateComponentOf<TExtStringGridCheck>});
    return info;
}

std::string TExtStringGridCheck::MarkErrorText(int, int, const std::string& Value) { return Value; }
std::string TExtStringGridCheck::CorrectText(int, int, const std::string& Value) { return Value; }
