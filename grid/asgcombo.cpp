// The flat combo box's class descriptions (its look is the template in the header).
#include "grid/asgcombo.h"

const TClassInfo& TESGCustomCombo::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TESGCustomCombo", .Parent = &TComboBox::StaticClassInfo()});
    return info;
}

const TClassInfo& TESGComboBox::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TESGComboBox", .Parent = &TESGCustomCombo::StaticClassInfo(),
                                  .Create = &CreateComponentOf<TESGComboBox>});
    return info;
}
