// TuiForm adds nothing to the platform's form; this unit only makes it a class of its own.
#include "ui/uiforms.h"
