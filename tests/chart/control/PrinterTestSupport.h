// For the preview tests: no printer unless a test sets a PDF file, so that the machine's printers never
// count, and everything back to the start-up settings afterwards.
#pragma once

#include "platform/graphics/Printers.h"

class TPrinterScope {
public:
    TPrinterScope()
    {
        TPrinter::SetPlatformPrintersHidden(true);
        Printer()->Reset();
    }
    ~TPrinterScope()
    {
        Printer()->Reset();
        TPrinter::SetPlatformPrintersHidden(false);
    }
    TPrinterScope(const TPrinterScope&) = delete;
    TPrinterScope& operator=(const TPrinterScope&) = delete;
};
