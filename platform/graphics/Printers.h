// The printer: the class library's printer object over the platform's print support. It lists the
// printers, prints pages through a canvas (BeginDoc, NewPage, EndDoc), and reports a missing printer
// with EPrinter. Output can go to a PDF file instead of a printer (printing to a file, and tests).
// Qt-free.
#pragma once

#include "platform/rtl/Exceptions.h"

#include <memory>
#include <string>
#include <vector>

class QPrinter;
class TCanvas;

// "There is no default printer currently selected" when no printer exists, and the other printer
// errors of the class library.
VSP_DECLARE_EXCEPTION(EPrinter, Exception);

enum TPrinterOrientation { poPortrait, poLandscape };

class TPrinter {
public:
    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // The printers the platform knows (none in tests, see SetPlatformPrintersHidden).
    std::vector<std::string> Printers() const;
    // The chosen printer; -1 for the default one. Raises EPrinter for an index outside the list.
    int PrinterIndex() const { return FPrinterIndex; }
    void SetPrinterIndex(int index);
    // Printing to a PDF file in place of the printer; an empty name goes back to the printer.
    const std::string& OutputFileName() const { return FOutputFileName; }
    void SetOutputFileName(const std::string& path);
    // Printing to a PDF file whose name is given before the document begins (a machine without
    // printers): the page is laid out as the file's page; BeginDoc without a name raises EPrinter.
    // SetOutputFileName sets or clears it with the name.
    bool FileOutput() const { return FFileOutput; }
    void SelectFileOutput();
    // True when pages can be laid out: file output is chosen or a printer exists.
    bool HasPrinter() const;

    TPrinterOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TPrinterOrientation v);
    int Copies() const { return FCopies; }
    void SetCopies(int v);
    // The document's name in the print queue.
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& v) { FTitle = v; }

    // The printable area of a page in device pixels, and the device's resolution; raise EPrinter
    // when there is no printer.
    int PageWidth() const;
    int PageHeight() const;
    int DpiX() const;
    int DpiY() const;

    // The page canvas: drawing on it prints between BeginDoc and EndDoc. Raises EPrinter without a
    // printer, and outside a document.
    TCanvas& Canvas();
    void BeginDoc();
    void NewPage();
    void EndDoc();
    // Ends the document without printing what was drawn.
    void Abort();
    bool Printing() const { return FPrinting; }
    bool Aborted() const { return FAborted; }
    // Pages begun in the current (or last) document.
    int PageNumber() const { return FPageNumber; }

    // Tests: the platform's printers are ignored, so that "no printer" does not depend on the machine.
    static void SetPlatformPrintersHidden(bool hidden);
    // Back to the start-up settings (no document may be open).
    void Reset();

private:
    friend QPrinter& PrinterDevice(TPrinter& printer);
    void RequirePrinter() const;
    void PrepareDevice() const;

    struct Impl;
    std::unique_ptr<Impl> FImpl;
    int FPrinterIndex = -1;
    std::string FOutputFileName;
    bool FFileOutput = false;
    TPrinterOrientation FOrientation = poPortrait;
    int FCopies = 1;
    std::string FTitle;
    bool FPrinting = false;
    bool FAborted = false;
    int FPageNumber = 0;
};

// The process's printer.
TPrinter* Printer();
