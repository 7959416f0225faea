// The Qt printer behind a TPrinter, for the platform's print dialogs. Internal to the platform layer:
// includes Qt.
#pragma once

class QPrinter;
class TPrinter;

// The printer's device for its current choice (printer or file); raises EPrinter when there is none.
QPrinter& PrinterDevice(TPrinter& printer);
