// The edit control over Qt's line edit. Key events reach TWinControl's virtual methods through the
// control's event filter before the line edit sees them, so a key cleared there never edits the text.
#include "platform/controls/Edit.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/Application.h"
#include "platform/controls/ControlWidget.h"
#include "platform/graphics/GraphicsObjects.h"

#include <QFont>
#include <QFontMetrics>
#include <QPalette>
#include <QLineEdit>

#include <algorithm>

struct TCustomEdit::Native : QLineEdit {
    explicit Native(TCustomEdit* owner) : Owner(owner)
    {
        QObject::connect(this, &QLineEdit::textChanged, [this](const QString&) {
            Owner->FModified = true;
            Application->Guarded([this] { Owner->Change(); });
        });
    }
    TCustomEdit* Owner;
};

namespace {

QLineEdit& LineEdit(const TCustomEdit& e) { return *static_cast<QLineEdit*>(e.Widget()); }

} // namespace

const TClassInfo& TCustomEdit::StaticClassInfo()
{
    using P = TProps<TCustomEdit>;
    static const TClassInfo info({
        .Name = "TCustomEdit",
        .Parent = &TWinControl::StaticClassInfo(),
        .Properties = {P::Text("Text", &TCustomEdit::Text, &TCustomEdit::SetText).Default(""),
                       P::Integer("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength).Default(0),
                       P::Boolean("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly).Default(false)},
        .Defaults = {{"TabStop", true}},
    });
    return info;
}

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner, NewControlWidget<Native>(this))
{
    SetTabStop(true);
    Widget()->setFocusPolicy(Qt::StrongFocus);
    SetBounds(0, 0, 121, 21);
}

std::string TCustomEdit::Text() const { return QStringToAnsi(LineEdit(*this).text()); }

void TCustomEdit::SetText(const std::string& v)
{
    QLineEdit& e = LineEdit(*this);
    const QString q = AnsiToQString(v);
    if (e.text() == q) return;
    e.setText(q);
    // setText fired Change through the native signal; a program's write does not mark the edit modified.
    FModified = false;
}

std::u16string TCustomEdit::WideText() const { return LineEdit(*this).text().toStdU16String(); }

void TCustomEdit::SetWideText(const std::u16string& v)
{
    QLineEdit& e = LineEdit(*this);
    const QString q = QString::fromStdU16String(v);
    if (e.text() == q) return;
    e.setText(q);
    FModified = false;
}

void TCustomEdit::SetTextMargins(int Left, int Right)
{
    QLineEdit& e = LineEdit(*this);
    const QMargins m = e.textMargins();
    e.setTextMargins(std::max(0, Left), m.top(), std::max(0, Right), m.bottom());
}

int TCustomEdit::SelStart() const
{
    const QLineEdit& e = LineEdit(*this);
    return e.hasSelectedText() ? e.selectionStart() : e.cursorPosition();
}

void TCustomEdit::SetSelStart(int v)
{
    QLineEdit& e = LineEdit(*this);
    e.deselect();
    e.setCursorPosition(std::clamp(v, 0, static_cast<int>(e.text().size())));
}

int TCustomEdit::SelLength() const { return static_cast<int>(LineEdit(*this).selectedText().size()); }

void TCustomEdit::SetSelLength(int v)
{
    QLineEdit& e = LineEdit(*this);
    const int start = SelStart();
    e.setSelection(start, std::clamp(v, 0, static_cast<int>(e.text().size()) - start));
}

std::string TCustomEdit::SelText() const { return QStringToAnsi(LineEdit(*this).selectedText()); }

void TCustomEdit::SetSelText(const std::string& v) { LineEdit(*this).insert(AnsiToQString(v)); }

void TCustomEdit::SelectAll() { LineEdit(*this).selectAll(); }

void TCustomEdit::SetMaxLength(int v)
{
    FMaxLength = std::max(0, v);
    LineEdit(*this).setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
}

void TCustomEdit::SetAlignment(TAlignment v)
{
    FAlignment = v;
    const Qt::Alignment a = v == taRightJustify ? Qt::AlignRight : v == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
    LineEdit(*this).setAlignment(a | Qt::AlignVCenter);
}

void TCustomEdit::SetPasswordChar(char v)
{
    FPasswordChar = v;
    LineEdit(*this).setEchoMode(v ? QLineEdit::Password : QLineEdit::Normal);
}

void TCustomEdit::SetReadOnly(bool v)
{
    FReadOnly = v;
    LineEdit(*this).setReadOnly(v);
}

void TCustomEdit::SetBorderVisible(bool v)
{
    FBorder = v;
    LineEdit(*this).setFrame(v);
    LineEdit(*this).setTextMargins(v ? 0 : 1, 0, 0, 0);
}

void TCustomEdit::SetFont(const TFont& font)
{
    QFont f(AnsiToQString(font.Name()));
    f.setPixelSize(std::max(1, font.Height() < 0 ? -font.Height() : font.Height()));
    f.setBold(font.Style().Contains(fsBold));
    f.setItalic(font.Style().Contains(fsItalic));
    f.setUnderline(font.Style().Contains(fsUnderline));
    QLineEdit& e = LineEdit(*this);
    e.setFont(f);
    QPalette pal = e.palette();
    pal.setColor(QPalette::Text, QtColorOf(font.Color()));
    pal.setColor(QPalette::Base, QtColorOf(Color()));
    e.setPalette(pal);
}

int TCustomEdit::CharFromPos(int x, int y) const
{
    QLineEdit& e = LineEdit(*this);
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return -1;
    return e.cursorPositionAt(QPoint(x, y));
}

TPoint TCustomEdit::PosFromChar(int index) const
{
    const QLineEdit& e = LineEdit(*this);
    const QFontMetrics fm(e.font());
    const QString t = e.text().left(std::max(0, index));
    return {e.textMargins().left() + 2 + fm.horizontalAdvance(t), 1};
}

void TCustomEdit::Change()
{
    if (OnChange) OnChange(this);
}
