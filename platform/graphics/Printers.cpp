// The printer over Qt's print support: a QPrinter for the chosen printer or PDF file, a painter on it
// while a document is open, and a canvas drawing through that painter.
#include "platform/graphics/Printers.h"

#include "platform/graphics/Canvas.h"
#include "platform/graphics/PainterBackend.h"
#include "platform/graphics/PrinterDevice.h"
#include "platform/graphics/QtSupport.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

const char* const kNoDefaultPrinter = "There is no default printer currently selected";
const char* const kInvalidPrinter = "Printer selected is not valid";
const char* const kPrinting = "Printing in progress";
const char* const kNotPrinting = "Printer is not currently printing";
const char* const kNoOutputFile = "No file was named for the printed document";

// PDF pages are laid out at this resolution.
constexpr int kFileDpi = 600;

struct TPrinterModuleState {
    bool PlatformPrintersHidden = false;
};

TPrinterModuleState& ModuleState()
{
    static TPrinterModuleState state;
    return state;
}

QList<QPrinterInfo> PlatformPrinters()
{
    if (ModuleState().PlatformPrintersHidden) return {};
    EnsureGuiApplication();
    return QPrinterInfo::availablePrinters();
}

} // namespace

struct TPrinter::Impl {
    std::unique_ptr<QPrinter> Device;
    std::unique_ptr<QPainter> Painter;
    std::unique_ptr<TCanvas> Canvas;
};

TPrinter* Printer()
{
    static TPrinter printer;
    return &printer;
}

void TPrinter::SetPlatformPrintersHidden(bool hidden) { ModuleState().PlatformPrintersHidden = hidden; }

TPrinter::TPrinter() : FImpl(std::make_unique<Impl>()) {}

TPrinter::~TPrinter()
{
    if (FPrinting) Abort();
}

std::vector<std::string> TPrinter::Printers() const
{
    std::vector<std::string> names;
    for (const QPrinterInfo& info : PlatformPrinters()) names.push_back(info.printerName().toStdString());
    return names;
}

void TPrinter::SetPrinterIndex(int index)
{
    if (FPrinting) throw EPrinter(kPrinting);
    if (index < -1 || index >= static_cast<int>(Printers().size())) throw EPrinter(kInvalidPrinter);
    FPrinterIndex = index;
    FImpl->Device.reset();
}

void TPrinter::SetOutputFileName(const std::string& path)
{
    if (FPrinting) throw EPrinter(kPrinting);
    FOutputFileName = path;
    FFileOutput = !path.empty();
    FImpl->Device.reset();
}

void TPrinter::SelectFileOutput()
{
    if (FPrinting) throw EPrinter(kPrinting);
    if (FFileOutput) return;
    FFileOutput = true;
    FImpl->Device.reset();
}

bool TPrinter::HasPrinter() const { return FFileOutput || !PlatformPrinters().isEmpty(); }

void TPrinter::SetOrientation(TPrinterOrientation v)
{
    if (FPrinting) throw EPrinter(kPrinting);
    FOrientation = v;
    if (FImpl->Device)
        FImpl->Device->setPageOrientation(v == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void TPrinter::SetCopies(int v)
{
    if (FPrinting) throw EPrinter(kPrinting);
    FCopies = std::max(1, v);
}

void TPrinter::RequirePrinter() const
{
    if (!HasPrinter()) throw EPrinter(kNoDefaultPrinter);
}

// The Qt printer of the current choice, made when first needed.
void TPrinter::PrepareDevice() const
{
    RequirePrinter();
    if (FImpl->Device) return;
    EnsureGuiApplication();
    std::unique_ptr<QPrinter> device;
    if (FFileOutput) {
        device = std::make_unique<QPrinter>(QPrinter::HighResolution);
        device->setOutputFormat(QPrinter::PdfFormat);
        // Without a name yet the device only lays the page out.
        if (!FOutputFileName.empty())
            device->setOutputFileName(QFile::decodeName(QByteArray::fromStdString(FOutputFileName)));
        device->setResolution(kFileDpi);
        device->setPageSize(QPageSize(QPageSize::A4));
    } else {
        const QList<QPrinterInfo> printers = PlatformPrinters();
        const QPrinterInfo info = FPrinterIndex >= 0 && FPrinterIndex < printers.size() ? printers[FPrinterIndex]
                                                                                        : QPrinterInfo::defaultPrinter();
        device = std::make_unique<QPrinter>(info.isNull() ? printers.front() : info, QPrinter::HighResolution);
    }
    device->setPageOrientation(FOrientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    device->setFullPage(false);
    FImpl->Device = std::move(device);
}

QPrinter& PrinterDevice(TPrinter& printer)
{
    printer.PrepareDevice();
    return *printer.FImpl->Device;
}

int TPrinter::PageWidth() const
{
    PrepareDevice();
    return FImpl->Device->width();
}

int TPrinter::PageHeight() const
{
    PrepareDevice();
    return FImpl->Device->height();
}

int TPrinter::DpiX() const
{
    PrepareDevice();
    return FImpl->Device->logicalDpiX();
}

int TPrinter::DpiY() const
{
    PrepareDevice();
    return FImpl->Device->logicalDpiY();
}

TCanvas& TPrinter::Canvas()
{
    RequirePrinter();
    if (!FPrinting || !FImpl->Canvas) throw EPrinter(kNotPrinting);
    return *FImpl->Canvas;
}

void TPrinter::BeginDoc()
{
    if (FPrinting) throw EPrinter(kPrinting);
    if (FFileOutput && FOutputFileName.empty()) throw EPrinter(kNoOutputFile);
    PrepareDevice();
    QPrinter& device = *FImpl->Device;
    device.setDocName(QString::fromStdString(FTitle));
    device.setCopyCount(FCopies);
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(&device)) throw EPrinter(kInvalidPrinter);
    TDeviceCaps caps;
    caps.Width = device.width();
    caps.Height = device.height();
    caps.DpiX = device.logicalDpiX();
    caps.DpiY = device.logicalDpiY();
    caps.WidthMM = device.widthMM();
    caps.HeightMM = device.heightMM();
    caps.Technology = DT_RASPRINTER;
    const QRectF paper = device.paperRect(QPrinter::DevicePixel);
    const QRectF page = device.pageRect(QPrinter::DevicePixel);
    caps.PhysicalWidth = static_cast<int>(paper.width());
    caps.PhysicalHeight = static_cast<int>(paper.height());
    caps.PhysicalOffsetX = static_cast<int>(page.left() - paper.left());
    caps.PhysicalOffsetY = static_cast<int>(page.top() - paper.top());
    FImpl->Painter = std::move(painter);
    FImpl->Canvas = std::make_unique<TCanvas>(std::make_shared<TPainterBackend>(*FImpl->Painter, caps));
    FPrinting = true;
    FAborted = false;
    FPageNumber = 1;
}

void TPrinter::NewPage()
{
    if (!FPrinting) throw EPrinter(kNotPrinting);
    FImpl->Device->newPage();
    ++FPageNumber;
}

void TPrinter::EndDoc()
{
    if (!FPrinting) throw EPrinter(kNotPrinting);
    FImpl->Canvas.reset();
    FImpl->Painter->end();
    FImpl->Painter.reset();
    FPrinting = false;
}

void TPrinter::Abort()
{
    if (!FPrinting) throw EPrinter(kNotPrinting);
    FImpl->Device->abort();
    FImpl->Canvas.reset();
    FImpl->Painter->end();
    FImpl->Painter.reset();
    if (!FOutputFileName.empty()) QFile::remove(QFile::decodeName(QByteArray::fromStdString(FOutputFileName)));
    FPrinting = false;
    FAborted = true;
}

void TPrinter::Reset()
{
    if (FPrinting) Abort();
    FPrinterIndex = -1;
    FOutputFileName.clear();
    FFileOutput = false;
    FOrientation = poPortrait;
    FCopies = 1;
    FTitle.clear();
    FAborted = false;
    FPageNumber = 0;
    FImpl->Device.reset();
}
