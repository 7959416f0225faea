// Drag and drop over Qt's: drop events of a registered window go to its target; a drag runs Qt's drag
// loop with the formats as mime data, reporting each pointer move and effect change to the source.
#include "platform/controls/DragDrop.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/ControlWidget.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <algorithm>

namespace {

TDragDriver& Driver()
{
    static TDragDriver driver;
    return driver;
}

// Qt's mime data as the program reads it.
class TQtDragData : public TDragData {
public:
    explicit TQtDragData(const QMimeData* data) : FData(data) {}
    std::vector<std::string> Formats() const override
    {
        std::vector<std::string> out;
        if (!FData) return out;
        for (const QString& f : FData->formats()) out.push_back(f.toStdString());
        if (FData->hasText() && std::find(out.begin(), out.end(), "text/plain") == out.end()) out.push_back("text/plain");
        return out;
    }
    std::string Data(const std::string& Mime) const override { return MimeFormat(FData, Mime); }
    std::vector<std::string> Files() const override
    {
        std::vector<std::string> out;
        if (!FData || !FData->hasUrls()) return out;
        for (const QUrl& u : FData->urls())
            if (u.isLocalFile()) out.push_back(u.toLocalFile().toStdString());
        return out;
    }

private:
    const QMimeData* FData;
};

int EffectOf(Qt::DropAction a)
{
    switch (a) {
    case Qt::CopyAction: return DROPEFFECT_COPY;
    case Qt::MoveAction: return DROPEFFECT_MOVE;
    case Qt::LinkAction: return DROPEFFECT_LINK;
    default: return DROPEFFECT_NONE;
    }
}

Qt::DropActions ActionsOf(int effects)
{
    Qt::DropActions a;
    if (effects & DROPEFFECT_COPY) a |= Qt::CopyAction;
    if (effects & DROPEFFECT_MOVE) a |= Qt::MoveAction;
    if (effects & DROPEFFECT_LINK) a |= Qt::LinkAction;
    return a;
}

Qt::DropAction ActionOf(int effect)
{
    if (effect & DROPEFFECT_MOVE) return Qt::MoveAction;
    if (effect & DROPEFFECT_COPY) return Qt::CopyAction;
    if (effect & DROPEFFECT_LINK) return Qt::LinkAction;
    return Qt::IgnoreAction;
}

int OfferedEffects(const QDropEvent& e) { return EffectOf(e.proposedAction()) | (e.possibleActions() & Qt::CopyAction ? DROPEFFECT_COPY : 0) | (e.possibleActions() & Qt::MoveAction ? DROPEFFECT_MOVE : 0); }

// Answers Qt with the target's effect (any effect is accepted: the target decides, not the source).
void Answer(QDropEvent& e, int effect)
{
    if (effect == DROPEFFECT_NONE) {
        e.ignore();
        return;
    }
    e.setDropAction(ActionOf(effect));
    e.accept();
}

// Reports every pointer move of a drag to the source.
struct TDragSteps : QObject {
    std::function<void()> Step;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::MouseMove && Step) Step();
        return false;
    }
};

} // namespace

bool TDragData::Has(const std::string& Mime) const
{
    const auto f = Formats();
    return std::find(f.begin(), f.end(), Mime) != f.end();
}

bool DeliverDragEvent(TWinControl& Control, QEvent* Event)
{
    TDropTarget* target = Control.DropTarget();
    if (!target) return false;
    QWidget* w = Control.Widget();
    switch (Event->type()) {
    case QEvent::DragEnter: {
        auto& e = static_cast<QDragEnterEvent&>(*Event);
        const QPoint g = w->mapToGlobal(e.position().toPoint());
        Answer(e, target->DragEnter(TQtDragData(e.mimeData()), ShiftStateOf(e.modifiers(), e.buttons()), {g.x(), g.y()}, OfferedEffects(e)));
        // Qt asks again at every move only when the enter was taken.
        e.accept();
        return true;
    }
    case QEvent::DragMove: {
        auto& e = static_cast<QDragMoveEvent&>(*Event);
        const QPoint g = w->mapToGlobal(e.position().toPoint());
        Answer(e, target->DragOver(ShiftStateOf(e.modifiers(), e.buttons()), {g.x(), g.y()}, OfferedEffects(e)));
        return true;
    }
    case QEvent::DragLeave: target->DragLeave(); return true;
    case QEvent::Drop: {
        auto& e = static_cast<QDropEvent&>(*Event);
        const QPoint g = w->mapToGlobal(e.position().toPoint());
        Answer(e, target->Drop(TQtDragData(e.mimeData()), ShiftStateOf(e.modifiers(), e.buttons()), {g.x(), g.y()}, OfferedEffects(e)));
        return true;
    }
    default: return false;
    }
}

bool RegisterDragDrop(TWinControl& Control, TDropTarget* Target)
{
    if (!Target) return false;
    Control.SetDropTarget(Target);
    Control.Widget()->setAcceptDrops(true);
    return true;
}

void RevokeDragDrop(TWinControl& Control)
{
    Control.SetDropTarget(nullptr);
    Control.Widget()->setAcceptDrops(false);
}

void SetDragDriver(TDragDriver D) { Driver() = std::move(D); }

int DoDragDrop(TWinControl& Source, const TDragFormats& Data, int AllowedEffects, const TDragSourceEvents& Events, bool& Cancelled)
{
    Cancelled = false;
    if (Driver()) return Driver()(Source, Data, AllowedEffects, Events, Cancelled);
    QMimeData* mime = NewMimeData(Data.Formats);
    if (!Data.Files.empty()) {
        QList<QUrl> urls;
        for (const std::string& f : Data.Files) urls.push_back(QUrl::fromLocalFile(QString::fromStdString(f)));
        mime->setUrls(urls);
    }
    auto* drag = new QDrag(Source.Widget());
    drag->setMimeData(mime);
    if (Events.Feedback)
        QObject::connect(drag, &QDrag::actionChanged, [f = Events.Feedback](Qt::DropAction a) { f(EffectOf(a)); });
    TDragSteps steps;
    steps.Step = Events.Step;
    qApp->installEventFilter(&steps);
    const Qt::DropAction result = drag->exec(ActionsOf(AllowedEffects), Qt::MoveAction);
    qApp->removeEventFilter(&steps);
    const int effect = EffectOf(result);
    Cancelled = effect == DROPEFFECT_NONE;
    return effect;
}
