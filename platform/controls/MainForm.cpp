// The main-form base over a top-level Qt widget: menu bar, alignment layout, key preview, closing, the
// first-paint notice and the layout report.
#include "platform/controls/MainForm.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/Application.h"
#include "platform/controls/ControlWidget.h"
#include "platform/controls/MenuBinding.h"
#include "platform/controls/Menus.h"
#include "platform/rtl/TextFile.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QAbstractButton>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <sstream>
#include <vector>

namespace {

// The form's window: it hands closing, showing, geometry changes and its background to the form.
class TFormWidget : public QWidget {
public:
    TMainFormBase::Impl* Owner = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

std::string RectText(const QRect& r)
{
    return std::to_string(r.x()) + " " + std::to_string(r.y()) + " " + std::to_string(r.width()) + " " +
           std::to_string(r.height());
}

// The entries of a menu that shows, and of its sub-menus that show.
void ReportOpenMenu(std::ostream& out, const QMenu& menu, const TMenuItem& parent)
{
    if (!menu.isVisible()) return;
    const QList<QAction*> actions = menu.actions();
    for (int i = 0; i < parent.Count() && i < actions.size(); ++i) {
        const TMenuItem* sub = parent.Items(i);
        if (!sub->Visible() || sub->Caption() == "-") continue;
        const QRect r = menu.actionGeometry(actions[i]);
        out << "item " << sub->Name() << " " << RectText(QRect(menu.mapToGlobal(r.topLeft()), r.size())) << " "
            << (sub->Enabled() ? 1 : 0) << "\n";
        if (const QMenu* child = actions[i]->menu()) ReportOpenMenu(out, *child, *sub);
    }
}

} // namespace

struct TMainFormBase::Impl : QObject {
    Impl(TMainFormBase& form, TFormWidget& widget) : Form(form), Widget(&widget)
    {
        widget.Owner = this;
        MenuBar = new QMenuBar(&widget);
        MenuBar->setNativeMenuBar(false);
    }

    TMainFormBase& Form;
    QPointer<TFormWidget> Widget;
    QPointer<QMenuBar> MenuBar;
    std::vector<std::pair<TWinControl*, TAlign>> Aligned;
    int RootListener = 0;
    std::vector<std::pair<TMenuItem*, int>> TopListeners;
    // The bar's menus and the items they show, for the report.
    std::vector<std::pair<QPointer<QMenu>, TMenuItem*>> BarMenus;
    bool RebuildPending = false;
    bool Centred = false;
    bool ExposeWatched = false;
    bool FirstPaintDone = false;
    bool FirstPaintNoticed = false;
    std::string ReportFile;
    // The key event last given to a control of the form. Qt passes a key event that a control leaves
    // unaccepted up to its parents, the form's window last; the form hears it there only as a key of its
    // own window, never as a child's key passed up.
    struct TKeyMark {
        const QEvent* Event = nullptr;
        QEvent::Type Type = QEvent::None;
        int Key = 0;
        unsigned long Time = 0;
        bool operator==(const TKeyMark&) const = default;
    } ChildKey;

    int MenuBarHeight() const { return MenuBar && !MenuBar->isHidden() ? MenuBar->sizeHint().height() : 0; }

    // ---- Menu bar ----

    void ScheduleMenuRebuild()
    {
        if (RebuildPending) return;
        RebuildPending = true;
        QMetaObject::invokeMethod(this, [this] { RebuildMenuBar(); }, Qt::QueuedConnection);
    }

    void DropTopListeners()
    {
        for (auto& [item, id] : TopListeners) item->RemoveListener(id);
        TopListeners.clear();
    }

    // The bar's menus stand for the root's items, one for one.
    bool SameMenus() const
    {
        const TMenuItem& root = Form.Menu();
        if (static_cast<int>(BarMenus.size()) != root.Count()) return false;
        for (int i = 0; i < root.Count(); ++i)
            if (!BarMenus[i].first || BarMenus[i].second != root.Items(i)) return false;
        return true;
    }

    void RebuildMenuBar()
    {
        RebuildPending = false;
        if (!MenuBar || SameMenus()) return;
        // A menu whose entry is running its click must stay: the bar is rebuilt after it.
        if (MenuClickRunning()) {
            RebuildPending = true;
            WhenMenuClicksEnd(this, [this] { RebuildMenuBar(); });
            return;
        }
        DropTopListeners();
        for (auto& [menu, item] : BarMenus)
            if (menu) menu->deleteLater();
        BarMenus.clear();
        MenuBar->clear();
        TMenuItem& root = Form.Menu();
        for (int i = 0; i < root.Count(); ++i) {
            TMenuItem* item = root.Items(i);
            auto* menu = new QMenu(AnsiToQString(item->Caption()), MenuBar);
            BindMenu(*item, *menu, [this] { QueueLayoutReport(); });
            QAction* action = MenuBar->addMenu(menu);
            // An item with sub-items hears a click when its menu opens, as the class library's do.
            connect(menu, &QMenu::aboutToShow, this, [this, item] {
                ClickMenuItem(*item);
                QueueLayoutReport();
            });
            connect(menu, &QMenu::aboutToHide, this, [this] { QueueLayoutReport(); });
            ApplyItemState(*action, *item);
            const int id = item->AddListener([this, action = QPointer<QAction>(action)](TMenuItem* sender) {
                if (sender->Destroying()) {
                    std::erase_if(TopListeners, [sender](const auto& l) { return l.first == sender; });
                    return;
                }
                if (action) ApplyItemState(*action, *sender);
            });
            TopListeners.emplace_back(item, id);
            BarMenus.emplace_back(menu, item);
        }
        Form.Realign();
    }

    void QueueLayoutReport()
    {
        QMetaObject::invokeMethod(this, [this] { Form.WriteLayoutReport(); }, Qt::QueuedConnection);
    }

    static void ApplyItemState(QAction& action, const TMenuItem& item)
    {
        action.setText(AnsiToQString(item.Caption()));
        action.setEnabled(item.Enabled());
        action.setVisible(item.Visible());
    }

    // ---- Key preview ----

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if ((type == QEvent::Show || type == QEvent::Hide) && qobject_cast<QMessageBox*>(watched))
            QueueLayoutReport();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
        auto* target = qobject_cast<QWidget*>(watched);
        if (!Widget || !target || target->window() != Widget) return false;
        auto& key = static_cast<QKeyEvent&>(*event);
        const TKeyMark mark{event, type, key.key(), key.timestamp()};
        if (mark == ChildKey) {
            if (target != Widget) return false; // on its way up through the parents
            ChildKey = {};
            return true;
        }
        // Keys of the form's own window reach the form through its control events.
        if (target == Widget) return false;
        ChildKey = mark;
        if (!Form.FKeyPreview) return false;
        bool eat = false;
        Application->Guarded([&] { eat = Preview(key); });
        if (eat) ChildKey = {};
        return eat;
    }

    bool Preview(QKeyEvent& e)
    {
        std::uint16_t vk = VirtualKeyOf(e);
        const TShiftState shift = ShiftStateOf(e.modifiers(), {});
        if (e.type() == QEvent::KeyRelease) {
            if (vk == 0) return false;
            Form.KeyUp(vk, shift);
            return vk == 0;
        }
        if (vk != 0) {
            Form.KeyDown(vk, shift);
            if (vk == 0) return true;
        }
        bool eat = false;
        for (char c : QStringToAnsi(e.text())) {
            char ch = c;
            Form.KeyPress(ch);
            eat = eat || ch == 0;
        }
        return eat;
    }

    // ---- Closing, showing, painting ----

    bool CloseRequested()
    {
        bool close = false;
        Application->Guarded([&] {
            if (!Form.CloseQuery()) return;
            TCloseAction action = caHide;
            if (Form.OnClose) Form.OnClose(&Form, action);
            close = action != caNone;
        });
        return close;
    }

    void Shown()
    {
        if (!Centred && Form.FPosition != poDesigned) {
            Centred = true;
            QScreen* screen = QGuiApplication::primaryScreen();
            if (screen) {
                const QRect area = Form.FPosition == poDesktopCenter ? screen->availableGeometry() : screen->geometry();
                const QSize frame = Widget->frameGeometry().size();
                Widget->move(area.x() + (area.width() - frame.width()) / 2,
                             area.y() + (area.height() - frame.height()) / 2);
            }
        }
        if (RebuildPending) RebuildMenuBar();
        WatchExpose();
        Form.WriteLayoutReport();
    }

    // The first expose of the window paints and flushes it; the notice comes at the next turn of the loop.
    void WatchExpose()
    {
        if (ExposeWatched || !Widget || !Widget->windowHandle()) return;
        ExposeWatched = true;
        Widget->windowHandle()->installEventFilter(&ExposeFilter);
    }

    struct TExposeFilter : QObject {
        Impl* Owner = nullptr;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Expose && !Owner->FirstPaintDone) {
                auto* window = static_cast<QWindow*>(watched);
                if (window->isExposed()) {
                    Owner->FirstPaintDone = true;
                    QMetaObject::invokeMethod(
                        Owner, [o = Owner] { Application->Guarded([o] {
                            o->FirstPaintNoticed = true;
                            o->Form.DoFirstPaint();
                        }); },
                        Qt::QueuedConnection);
                }
            }
            return false;
        }
    } ExposeFilter;

    void Paint(QWidget& w)
    {
        QPainter painter(&w);
        painter.fillRect(w.rect(), QtColorOf(Form.Color()));
    }
};

namespace {

void TFormWidget::closeEvent(QCloseEvent* event)
{
    if (!Owner || !Owner->CloseRequested()) {
        event->ignore();
        return;
    }
    event->accept();
    Application->Terminate();
}

void TFormWidget::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (Owner) Owner->Shown();
}

void TFormWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!Owner) return;
    Owner->Form.Realign();
    Owner->Form.WriteLayoutReport();
}

void TFormWidget::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (Owner) Owner->Form.WriteLayoutReport();
}

void TFormWidget::paintEvent(QPaintEvent*)
{
    if (Owner) Owner->Paint(*this);
}

} // namespace

// ---- TMainFormBase -----------------------------------------------------------------------------------

const TClassInfo& TMainFormBase::StaticClassInfo()
{
    static const TClassInfo info({
        .Name = "TMainFormBase",
        .Parent = &TWinControl::StaticClassInfo(),
    });
    return info;
}

TMainFormBase::TMainFormBase(TComponent* AOwner)
    : TWinControl(AOwner, NewControlWidget<TFormWidget>()), FMenu(std::make_unique<TMenuItem>(nullptr))
{
    auto* widget = static_cast<TFormWidget*>(Widget());
    FImpl = std::make_unique<Impl>(*this, *widget);
    FImpl->ExposeFilter.Owner = FImpl.get();
    widget->setFocusPolicy(Qt::StrongFocus);
    EnsureQtApplication().installEventFilter(FImpl.get());
    FImpl->RootListener = FMenu->AddListener([impl = FImpl.get()](TMenuItem* sender) {
        if (!sender->Destroying()) impl->ScheduleMenuRebuild();
    });
}

TMainFormBase::~TMainFormBase()
{
    FImpl->DropTopListeners();
    FMenu->RemoveListener(FImpl->RootListener);
    if (QWidget* w = Widget()) {
        static_cast<TFormWidget*>(w)->Owner = nullptr;
        if (w->windowHandle()) w->windowHandle()->removeEventFilter(&FImpl->ExposeFilter);
    }
    QApplication::instance()->removeEventFilter(FImpl.get());
}

void TMainFormBase::SetAlign(TWinControl* control, TAlign align)
{
    auto& list = FImpl->Aligned;
    std::erase_if(list, [control](const auto& a) { return a.first == control; });
    if (align != alNone) list.emplace_back(control, align);
    Realign();
}

TAlign TMainFormBase::AlignOf(const TWinControl* control) const
{
    for (const auto& [c, a] : FImpl->Aligned)
        if (c == control) return a;
    return alNone;
}

TRect TMainFormBase::ClientArea() const { return {0, FImpl->MenuBarHeight(), Width(), Height()}; }

void TMainFormBase::SetClientSize(int w, int h)
{
    if (FImpl->RebuildPending) FImpl->RebuildMenuBar();
    Widget()->resize(w, h + FImpl->MenuBarHeight());
    Realign();
}

void TMainFormBase::Realign()
{
    if (FImpl->MenuBar) FImpl->MenuBar->setGeometry(0, 0, Width(), FImpl->MenuBarHeight());
    TRect free = ClientArea();
    TWinControl* client = nullptr;
    for (const auto& [c, a] : FImpl->Aligned) {
        if (!c->Visible()) continue;
        switch (a) {
        case alTop:
            c->SetBounds(free.Left, free.Top, free.Width(), c->Height());
            free.Top += c->Height();
            break;
        case alBottom:
            c->SetBounds(free.Left, free.Bottom - c->Height(), free.Width(), c->Height());
            free.Bottom -= c->Height();
            break;
        case alClient: client = c; break;
        case alNone: break;
        }
    }
    if (client) client->SetBounds(free.Left, free.Top, free.Width(), std::max(0, free.Height()));
}

void TMainFormBase::SetHeightConstraints(int minHeight, int maxHeight)
{
    Widget()->setMinimumHeight(std::max(0, minHeight));
    Widget()->setMaximumHeight(maxHeight > 0 ? maxHeight : QWIDGETSIZE_MAX);
}

void TMainFormBase::SetMinimumClientSize(int w, int h)
{
    if (FImpl->RebuildPending) FImpl->RebuildMenuBar();
    // A height limit set before stays when it asks for more.
    Widget()->setMinimumSize(std::max(0, w), std::max(Widget()->minimumHeight(), h + FImpl->MenuBarHeight()));
}

TSize TMainFormBase::MinimumClientSize() const
{
    return {Widget()->minimumWidth(), Widget()->minimumHeight() - FImpl->MenuBarHeight()};
}

void TMainFormBase::SetKeyPreview(bool v) { FKeyPreview = v; }

void TMainFormBase::Show()
{
    QWidget* w = Widget();
    w->show();
    w->raise();
    w->activateWindow();
}

void TMainFormBase::Close() { Widget()->close(); }

bool TMainFormBase::FirstPainted() const { return FImpl->FirstPaintNoticed; }

void TMainFormBase::DoFirstPaint()
{
    if (OnFirstPaint) OnFirstPaint(this);
}

bool TMainFormBase::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TMainFormBase::EnabledChanged()
{
    if (!Enabled()) ++FDisabledCount;
    WriteLayoutReport();
}

// ---- Layout report -----------------------------------------------------------------------------------

void TMainFormBase::SetLayoutReportFile(const std::string& path)
{
    FImpl->ReportFile = path;
    WriteLayoutReport();
}

std::string TMainFormBase::LayoutReport() const
{
    std::ostringstream out;
    QWidget* w = Widget();
    const QRect frame(w->mapToGlobal(QPoint(0, 0)), w->size());
    out << "window " << RectText(frame) << " " << (Enabled() ? 1 : 0) << " " << FDisabledCount << "\n";
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* control = dynamic_cast<TWinControl*>(Components(i));
        if (!control || control->Name().empty() || !control->Showing()) continue;
        QWidget* cw = control->Widget();
        out << "control " << control->Name() << " " << RectText(QRect(cw->mapToGlobal(QPoint(0, 0)), cw->size()))
            << " " << (cw->isEnabled() ? 1 : 0) << "\n";
    }
    if (QMenuBar* bar = FImpl->MenuBar) {
        for (const auto& [menu, item] : FImpl->BarMenus) {
            if (!menu || !item->Visible()) continue;
            const QRect r = bar->actionGeometry(menu->menuAction());
            out << "menu " << item->Name() << " " << RectText(QRect(bar->mapToGlobal(r.topLeft()), r.size())) << " "
                << (item->Enabled() ? 1 : 0) << "\n";
        }
    }
    for (const auto& [menu, item] : FImpl->BarMenus)
        if (menu) ReportOpenMenu(out, *menu, *item);
    for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(top);
        if (!box || !box->isVisible()) continue;
        for (QAbstractButton* b : box->buttons()) {
            if (!b->isVisible()) continue;
            std::string caption = QStringToAnsi(b->text());
            std::erase_if(caption, [](char c) { return c == '&' || c == ' '; });
            out << "button " << caption << " " << RectText(QRect(b->mapToGlobal(QPoint(0, 0)), b->size())) << " "
                << (b->isEnabled() ? 1 : 0) << "\n";
        }
    }
    AddToLayoutReport(out);
    return out.str();
}

void TMainFormBase::WriteLayoutReport() const
{
    if (FImpl->ReportFile.empty() || !Widget()->isVisible()) return;
    SaveFileSafely(FImpl->ReportFile, LayoutReport());
}
