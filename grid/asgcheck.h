// The cell checker: a component whose two text operations the grid's edit validation calls for every
// edited value when it is assigned to the grid's CellChecker. The base changes nothing; a working
// checker overrides them. Qt-free.
#pragma once

#include "platform/rtl/Classes.h"

#include <string>

class TExtStringGridCheck : public TComponent {
    VSP_PERSISTENT_CLASS
public:
    explicit TExtStringGridCheck(TComponent* AOwner) : TComponent(AOwner) {}

    // The value to store with its errors marked (the base: unchanged).
    virtual std::string MarkErrorText(int ACol, int ARow, const std::string& Value);
    // The corrected value (the base: unchanged).
    virtual std::string CorrectText(int ACol, int ARow, const std::string& Value);

    bool GotoCell = false, AutoCorrect = false, AutoMarkError = false, UseCorrect = false, UseMarkError = false;
};
