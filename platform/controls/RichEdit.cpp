// The rich edit over Qt's text editor: its document is read and written as paragraphs of styled runs
// (font name and size, bold, italic, underline, strike-out, colour, paragraph alignment), which the
// platform's RTF reader and writer turn into rich text. A run that keeps the editor's default font or
// colour records none, so a document read back equals the one written.
#include "platform/controls/RichEdit.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/Application.h"
#include "platform/controls/ControlWidget.h"

#include <QAbstractTextDocumentLayout>
#include <QPalette>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <cmath>

struct TRichEdit::Native : QTextEdit {
    explicit Native(TRichEdit* owner) : Owner(owner)
    {
        setAcceptRichText(false);
        QObject::connect(this, &QTextEdit::textChanged, [this] {
            if (!Loading) Application->Guarded([this] { Owner->Change(); });
        });
        QObject::connect(this, &QTextEdit::selectionChanged, [this] {
            if (Owner->OnSelectionChange) Application->Guarded([this] { Owner->OnSelectionChange(Owner); });
        });
        QObject::connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged,
                         [this](const QSizeF& size) {
                             const int l = viewportMargins().left(), t = viewportMargins().top();
                             const TRect r{l, t, l + static_cast<int>(std::ceil(size.width())),
                                           t + static_cast<int>(std::ceil(size.height()))};
                             Application->Guarded([&] { Owner->RequestSize(r); });
                         });
    }
    using QTextEdit::setViewportMargins;
    TRichEdit* Owner;
    bool Loading = false;
};

namespace {

QTextEdit& Edit(const TRichEdit& e) { return *static_cast<QTextEdit*>(e.Widget()); }

// Every one of the four styles is set, on or off.
void SetStyles(QTextCharFormat& f, TFontStyles styles)
{
    f.setFontWeight(styles.Contains(fsBold) ? QFont::Bold : QFont::Normal);
    f.setFontItalic(styles.Contains(fsItalic));
    f.setFontUnderline(styles.Contains(fsUnderline));
    f.setFontStrikeOut(styles.Contains(fsStrikeOut));
}

TFontStyles StylesOf(const QTextCharFormat& f)
{
    TFontStyles s;
    if (f.fontWeight() >= QFont::Bold) s.Include(fsBold);
    if (f.fontItalic()) s.Include(fsItalic);
    if (f.fontUnderline()) s.Include(fsUnderline);
    if (f.fontStrikeOut()) s.Include(fsStrikeOut);
    return s;
}

QTextCharFormat FormatOf(const TRichRun& run)
{
    QTextCharFormat f;
    if (!run.FontName.empty()) f.setFontFamilies({AnsiToQString(run.FontName)});
    if (run.Size > 0) f.setFontPointSize(run.Size);
    SetStyles(f, run.Style);
    if (run.Color != clNone) f.setForeground(QtColorOf(run.Color));
    return f;
}

TRichRun RunOf(const QTextFragment& frag)
{
    const QTextCharFormat f = frag.charFormat();
    TRichRun run;
    run.Text = QStringToAnsi(frag.text());
    if (f.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = f.fontFamilies().toStringList();
        if (!families.isEmpty()) run.FontName = QStringToAnsi(families.front());
    }
    if (f.hasProperty(QTextFormat::FontPointSize)) run.Size = static_cast<int>(std::lround(f.fontPointSize()));
    run.Style = StylesOf(f);
    if (f.hasProperty(QTextFormat::ForegroundBrush)) run.Color = ProgramColorOf(f.foreground().color());
    return run;
}

} // namespace

const TClassInfo& TRichEdit::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TRichEdit", .Parent = &TWinControl::StaticClassInfo(),
                                  .Defaults = {{"TabStop", true}}, .Create = &CreateComponentOf<TRichEdit>});
    return info;
}

TRichEdit::TRichEdit(TComponent* AOwner) : TWinControl(AOwner, NewControlWidget<Native>(this))
{
    SetTabStop(true);
    SetBounds(0, 0, 185, 89);
}

TRichEdit::~TRichEdit() = default;

std::string TRichEdit::Text() const { return Document().PlainText(); }

void TRichEdit::SetText(const std::string& v) { SetDocument(RichTextFromPlain(v)); }

TRichDocument TRichEdit::Document() const
{
    TRichDocument doc;
    for (QTextBlock b = Edit(*this).document()->begin(); b.isValid(); b = b.next()) {
        TRichParagraph para;
        const Qt::Alignment a = b.blockFormat().alignment();
        para.Alignment = a & Qt::AlignRight ? raRight : a & Qt::AlignHCenter ? raCenter : raLeft;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.isValid() || frag.text().isEmpty()) continue;
            TRichRun run = RunOf(frag);
            if (!para.Runs.empty()) {
                TRichRun& last = para.Runs.back();
                TRichRun a1 = last, b1 = run;
                a1.Text.clear();
                b1.Text.clear();
                if (a1 == b1) {
                    last.Text += run.Text;
                    continue;
                }
            }
            para.Runs.push_back(std::move(run));
        }
        doc.Paragraphs.push_back(std::move(para));
    }
    // An empty editor holds one empty block: no paragraph.
    if (doc.Paragraphs.size() == 1 && doc.Paragraphs.front().Runs.empty()) doc.Paragraphs.clear();
    return doc;
}

void TRichEdit::SetDocument(const TRichDocument& v)
{
    auto& n = *static_cast<Native*>(Widget());
    n.Loading = true;
    n.clear();
    QTextCursor c(n.document());
    bool first = true;
    for (const TRichParagraph& p : v.Paragraphs) {
        QTextBlockFormat bf;
        bf.setAlignment(p.Alignment == raRight ? Qt::AlignRight : p.Alignment == raCenter ? Qt::AlignHCenter : Qt::AlignLeft);
        if (first) c.setBlockFormat(bf);
        else c.insertBlock(bf, QTextCharFormat());
        first = false;
        for (const TRichRun& run : p.Runs) c.insertText(AnsiToQString(run.Text), FormatOf(run));
    }
    n.Loading = false;
    Change();
}

std::string TRichEdit::RichText() const { return WriteRichText(Document()); }

void TRichEdit::LoadRichText(const std::string& v)
{
    if (v.empty()) SetText("");
    else if (IsRichText(v)) SetDocument(ParseRichText(v));
    else SetText(v);
}

int TRichEdit::SelStart() const { return Edit(*this).textCursor().selectionStart(); }

void TRichEdit::SetSelStart(int v)
{
    QTextCursor c = Edit(*this).textCursor();
    c.setPosition(std::clamp(v, 0, Edit(*this).document()->characterCount() - 1));
    Edit(*this).setTextCursor(c);
}

int TRichEdit::SelLength() const
{
    const QTextCursor c = Edit(*this).textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TRichEdit::SetSelLength(int v)
{
    QTextCursor c = Edit(*this).textCursor();
    const int start = c.selectionStart();
    c.setPosition(start);
    c.setPosition(std::clamp(start + v, start, Edit(*this).document()->characterCount() - 1), QTextCursor::KeepAnchor);
    Edit(*this).setTextCursor(c);
}

void TRichEdit::SelectAll() { Edit(*this).selectAll(); }

TFontStyles TRichEdit::SelStyle() const { return StylesOf(Edit(*this).textCursor().charFormat()); }

void TRichEdit::SetSelStyle(TFontStyles v)
{
    QTextCharFormat f;
    SetStyles(f, v);
    Edit(*this).textCursor().mergeCharFormat(f);
    Edit(*this).mergeCurrentCharFormat(f);
}

void TRichEdit::SetHideSelection(bool v)
{
    FHideSelection = v;
    QPalette pal = Edit(*this).palette();
    // A kept selection shows in the active colours while the editor has no focus.
    pal.setColor(QPalette::Inactive, QPalette::Highlight, v ? pal.color(QPalette::Inactive, QPalette::Base)
                                                             : pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText, v ? pal.color(QPalette::Inactive, QPalette::Text)
                                                                  : pal.color(QPalette::Active, QPalette::HighlightedText));
    Edit(*this).setPalette(pal);
}

void TRichEdit::SetBorderVisible(bool v)
{
    FBorder = v;
    Edit(*this).setFrameShape(v ? QFrame::StyledPanel : QFrame::NoFrame);
}

void TRichEdit::SetWordWrap(bool v)
{
    FWordWrap = v;
    Edit(*this).setLineWrapMode(v ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
}

void TRichEdit::SetReadOnly(bool v)
{
    FReadOnly = v;
    Edit(*this).setReadOnly(v);
}

void TRichEdit::SetFont(const TFont& font)
{
    QFont f(AnsiToQString(font.Name()));
    f.setPixelSize(std::max(1, font.Height() < 0 ? -font.Height() : font.Height()));
    f.setBold(font.Style().Contains(fsBold));
    f.setItalic(font.Style().Contains(fsItalic));
    Edit(*this).document()->setDefaultFont(f);
    QPalette pal = Edit(*this).palette();
    pal.setColor(QPalette::Text, QtColorOf(font.Color()));
    pal.setColor(QPalette::Base, QtColorOf(Color()));
    Edit(*this).setPalette(pal);
}

void TRichEdit::SetFormatRect(const TRect& r)
{
    FFormatRect = r;
    auto& n = *static_cast<Native*>(Widget());
    n.setViewportMargins(r.Left, r.Top, std::max(0, Width() - r.Right), std::max(0, Height() - r.Bottom));
    n.document()->setDocumentMargin(0);
}

void TRichEdit::Change()
{
    if (OnChange) OnChange(this);
}

void TRichEdit::RequestSize(const TRect& Requested)
{
    if (OnResizeRequest) OnResizeRequest(this, Requested);
}
