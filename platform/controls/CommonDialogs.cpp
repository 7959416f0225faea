// The common dialogs of the prompter over Qt: open and save, colour (with the custom colours), font,
// print and printer setup.
#include "platform/controls/AnsiText.h"
#include "platform/controls/ControlWidget.h"
#include "platform/controls/Controls.h"
#include "platform/controls/Prompter.h"
#include "platform/controls/PrompterInternal.h"
#include "platform/controls/QtApplication.h"
#include "platform/graphics/GraphicsObjects.h"
#include "platform/graphics/PrinterDevice.h"
#include "platform/graphics/Printers.h"

#include <QApplication>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

#include <array>
#include <cstdio>

namespace {

// Puts a dialog prompt to the script, to nobody, or to the user; the prompt's default answer is Cancel.
bool AskDialog(TPrompt& prompt, const std::function<void(TPrompt&)>& showWindow)
{
    prompt.Result = mrCancel;
    DispatchPrompt(prompt, showWindow);
    return prompt.Result == mrOk;
}

QString PathToQString(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
std::string QStringToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// "Text files|*.txt;*.asc|All|*.*" becomes Qt's "Text files (*.txt *.asc)" and "All (*.*)".
QStringList QtNameFilters(const std::string& filter)
{
    QStringList parts = AnsiToQString(filter).split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        result << parts[i] + QStringLiteral(" (") + patterns.simplified() + QLatin1Char(')');
    }
    return result;
}

void RunFileDialog(TFileDialogData& data, TWinControl* owner, bool save, TPrompt& prompt)
{
    QFileDialog dialog(DialogParent(owner), AnsiToQString(data.Title), PathToQString(data.InitialDir));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save)
        dialog.setFileMode(QFileDialog::AnyFile);
    else
        dialog.setFileMode((data.Options & ofAllowMultiSelect) ? QFileDialog::ExistingFiles
                                                               : QFileDialog::ExistingFile);
    if (save && !(data.Options & ofOverwritePrompt)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // The program's filter texts often name their patterns already ("... [*.sp2]"): the patterns Qt
    // appends to each text are left out of view, so none shows twice.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = QtNameFilters(data.Filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (data.FilterIndex >= 1 && data.FilterIndex <= filters.size())
            dialog.selectNameFilter(filters[data.FilterIndex - 1]);
    }
    dialog.setDefaultSuffix(AnsiToQString(data.DefaultExt));
    if (!data.FileName.empty()) dialog.selectFile(PathToQString(data.FileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    data.Files.clear();
    for (const QString& f : dialog.selectedFiles()) data.Files.push_back(QStringToPath(f));
    data.FileName = data.Files.front();
    // The dialog names the chosen filter as it shows it: by its text alone.
    const QString chosen = dialog.selectedNameFilter();
    for (qsizetype i = 0; i < filters.size(); ++i) {
        const QString& filter = filters[i];
        if (filter == chosen || filter.left(filter.lastIndexOf(QStringLiteral(" ("))).trimmed() == chosen) {
            data.FilterIndex = static_cast<int>(i) + 1;
            break;
        }
    }
    prompt.Result = mrOk;
}

bool ExecuteFileDialog(TWinControl* owner, TFileDialogData& data, bool save)
{
    TFileDialogData work = data;
    TPrompt prompt;
    prompt.Kind = save ? TPromptKind::SaveDialog : TPromptKind::OpenDialog;
    prompt.Caption = data.Title;
    prompt.File = &work;
    const bool ok = AskDialog(prompt, [&](TPrompt& p) { RunFileDialog(work, owner, save, p); });
    if (!ok) return false;
    if (work.Files.empty() && !work.FileName.empty()) work.Files.push_back(work.FileName);
    data = work;
    return true;
}

void RunColorWindow(TColorDialogData& data, TWinControl* owner, TPrompt& prompt)
{
    std::array<std::int32_t, 16> given{};
    given.fill(0xFFFFFF);
    for (const std::string& line : data.CustomColors) {
        int slot = 0;
        std::int32_t value = 0;
        if (ParseCustomColorLine(line, slot, value)) given[static_cast<std::size_t>(slot)] = value;
    }
    // Qt keeps the sixteen custom colours for the process: they are set before and read after the dialog.
    for (int i = 0; i < 16; ++i) QColorDialog::setCustomColor(i, QtColorOf(given[static_cast<std::size_t>(i)]));
    QColorDialog dialog(QtColorOf(data.Color), DialogParent(owner));
    if (dialog.exec() != QDialog::Accepted) return;
    data.Color = ProgramColorOf(dialog.selectedColor());
    data.CustomColors.clear();
    for (int i = 0; i < 16; ++i) data.CustomColors.push_back(CustomColorLine(i, ProgramColorOf(QColorDialog::customColor(i))));
    prompt.Result = mrOk;
}

void RunFontWindow(TFontDialogData& data, TWinControl* owner, TPrompt& prompt)
{
    QFont font(AnsiToQString(data.Name));
    font.setPointSize(data.Size > 0 ? data.Size : 8);
    font.setBold(data.Style.Contains(fsBold));
    font.setItalic(data.Style.Contains(fsItalic));
    font.setUnderline(data.Style.Contains(fsUnderline));
    font.setStrikeOut(data.Style.Contains(fsStrikeOut));
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, DialogParent(owner));
    if (!ok) return;
    data.Name = QStringToAnsi(chosen.family());
    data.Size = chosen.pointSize() > 0 ? chosen.pointSize() : data.Size;
    data.Style.Clear();
    if (chosen.bold()) data.Style.Include(fsBold);
    if (chosen.italic()) data.Style.Include(fsItalic);
    if (chosen.underline()) data.Style.Include(fsUnderline);
    if (chosen.strikeOut()) data.Style.Include(fsStrikeOut);
    prompt.Result = mrOk;
}

} // namespace

QWidget* DialogParent(TWinControl* owner)
{
    QWidget* w = owner ? owner->Widget() : nullptr;
    return w ? w->window() : QApplication::activeWindow();
}

bool ExecuteFontDialog(TWinControl* owner, TFont& font)
{
    TFontDialogData data;
    data.Name = font.Name();
    data.Size = font.Size();
    data.Style = font.Style();
    data.Color = font.Color();
    if (!ExecuteFontDialog(owner, data)) return false;
    TFont chosen(font);
    chosen.SetName(data.Name);
    chosen.SetSize(data.Size);
    chosen.SetStyle(data.Style);
    font.Assign(chosen);
    return true;
}

bool ExecutePrintDialog(TWinControl* owner, TPrintDialogData& data)
{
    TPrinter& printer = *Printer();
    if (!printer.HasPrinter()) throw EPrinter("There is no default printer currently selected");
    TPrintDialogData work = data;
    work.Copies = printer.Copies();
    TPrompt prompt;
    prompt.Kind = TPromptKind::PrintDialog;
    prompt.Caption = "Print";
    prompt.Print = &work;
    const bool ok = AskDialog(prompt, [&](TPrompt& p) {
        QPrinter& device = PrinterDevice(printer);
        device.setCopyCount(work.Copies);
        if (work.FromPage > 0) device.setFromTo(work.FromPage, std::max(work.FromPage, work.ToPage));
        QPrintDialog dialog(&device, DialogParent(owner));
        if (dialog.exec() != QDialog::Accepted) return;
        work.Copies = device.copyCount();
        work.FromPage = device.fromPage();
        work.ToPage = device.toPage();
        p.Result = mrOk;
    });
    if (!ok) return false;
    printer.SetCopies(work.Copies);
    data = work;
    return true;
}

bool ExecutePrinterSetupDialog(TWinControl* owner)
{
    TPrinter& printer = *Printer();
    if (!printer.HasPrinter()) throw EPrinter("There is no default printer currently selected");
    TPrompt prompt;
    prompt.Kind = TPromptKind::PrinterSetupDialog;
    prompt.Caption = "Print Setup";
    return AskDialog(prompt, [&](TPrompt& p) {
        QPrinter& device = PrinterDevice(printer);
        QPageSetupDialog dialog(&device, DialogParent(owner));
        if (dialog.exec() != QDialog::Accepted) return;
        printer.SetOrientation(device.pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait);
        p.Result = mrOk;
    });
}

bool ExecuteOpenDialog(TWinControl* owner, TFileDialogData& data) { return ExecuteFileDialog(owner, data, false); }

bool ExecuteSaveDialog(TWinControl* owner, TFileDialogData& data) { return ExecuteFileDialog(owner, data, true); }

bool ExecuteColorDialog(TWinControl* owner, TColorDialogData& data)
{
    TColorDialogData work = data;
    TPrompt prompt;
    prompt.Kind = TPromptKind::ColorDialog;
    prompt.Caption = "Color";
    prompt.Color = &work;
    if (!AskDialog(prompt, [&](TPrompt& p) { RunColorWindow(work, owner, p); })) return false;
    data = work;
    return true;
}

bool ExecuteFontDialog(TWinControl* owner, TFontDialogData& data)
{
    TFontDialogData work = data;
    TPrompt prompt;
    prompt.Kind = TPromptKind::FontDialog;
    prompt.Caption = "Font";
    prompt.Font = &work;
    if (!AskDialog(prompt, [&](TPrompt& p) { RunFontWindow(work, owner, p); })) return false;
    data = work;
    return true;
}

bool ParseCustomColorLine(const std::string& line, int& slot, TColor& value)
{
    // "Color" + a letter A..P + "=" + up to eight hexadecimal digits.
    if (line.size() < 8 || line.compare(0, 5, "Color") != 0 || line[6] != '=') return false;
    const char letter = line[5];
    if (letter < 'A' || letter > 'P') return false;
    const std::string digits = line.substr(7);
    if (digits.empty() || digits.size() > 8) return false;
    std::uint32_t v = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else return false;
        v = v * 16 + static_cast<std::uint32_t>(d);
    }
    slot = letter - 'A';
    value = static_cast<std::int32_t>(v);
    return true;
}

std::string CustomColorLine(int slot, TColor value)
{
    char text[24];
    std::snprintf(text, sizeof text, "Color%c=%08X", 'A' + slot, static_cast<unsigned>(value));
    return text;
}
