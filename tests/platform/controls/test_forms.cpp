// Modal forms through the prompter (a live form driven by the test script) and the form registry.
#include "platform/controls/Controls.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/Exceptions.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// A small editor form in the manner of the program's dialogs: it edits a value in place, takes a backup
// when shown, and gives the backup back on Cancel.
class TValueDialog : public TForm {
public:
    explicit TValueDialog(QWidget* owner = nullptr) : TForm(owner)
    {
        SetCaption("Value Editor");
        EValue = new QLineEdit(this);
        EValue->setObjectName("EValue");
        BOk = new QPushButton("OK", this);
        BCancel = new QPushButton("Cancel", this);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(EValue);
        layout->addWidget(BOk);
        layout->addWidget(BCancel);
        QObject::connect(EValue, &QLineEdit::textEdited, this, [this](const QString& t) { *Edited = t.toStdString(); });
        QObject::connect(BCancel, &QPushButton::clicked, this, [this] { *Edited = Backup; });
        SetButtonModalResult(BOk, mrOk);
        SetButtonModalResult(BCancel, mrCancel);
        OnShow = [this](TForm*) {
            Backup = *Edited;
            EValue->setText(QString::fromStdString(Backup));
            ++Shows;
        };
    }

    std::string* Edited = nullptr;
    std::string Backup;
    int Shows = 0;
    QLineEdit* EValue;
    QPushButton* BOk;
    QPushButton* BCancel;
};

TEST(ModalForm, ScriptGetsTheLiveFormAndItsButtonsGiveTheResult)
{
    std::string value = "10";
    TValueDialog dialog;
    dialog.Edited = &value;
    TPromptScript script;
    script.DriveForm([](TForm& form) {
        auto& d = static_cast<TValueDialog&>(form);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.Shows, 1);                      // the show handler ran before the script
        EXPECT_EQ(d.EValue->text(), "10");
        d.EValue->setText("");
        d.EValue->insert("25");                     // typed: changes apply at once
        d.BCancel->click();
    });
    script.DriveForm([](TForm& form) {
        auto& d = static_cast<TValueDialog&>(form);
        d.EValue->setText("");
        d.EValue->insert("30");
        d.BOk->click();
    });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_EQ(value, "10");                         // Cancel restored the backup
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_EQ(value, "30");
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_EQ(script.Log().size(), 2u);
    EXPECT_EQ(script.Log()[0].Caption, "Value Editor");
    EXPECT_EQ(script.Log()[0].Result, mrCancel);
    EXPECT_EQ(script.Log()[1].Result, mrOk);
    EXPECT_TRUE(script.Failures().empty());
}

TEST(ModalForm, FormsNotClosedByTheScriptOrWithoutOneAreCancelled)
{
    std::string value = "1";
    TValueDialog dialog;
    dialog.Edited = &value;
    {
        TPromptScript script;
        script.DriveForm([](TForm&) {});
        EXPECT_EQ(dialog.ShowModal(), mrCancel);
        ASSERT_EQ(script.Failures().size(), 1u);
        EXPECT_NE(script.Failures()[0].find("left open"), std::string::npos);
    }
    // Escape (a plain reject) is a Cancel too; without a script on this display nothing waits.
    {
        TPromptScript script;
        script.DriveForm([](TForm& form) { form.reject(); });
        EXPECT_EQ(dialog.ShowModal(), mrCancel);
    }
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(ModalForm, SettingModalResultClosesAndCloseHandlerSeesIt)
{
    TValueDialog dialog;
    std::string value;
    dialog.Edited = &value;
    TModalResult seen = mrNone;
    dialog.OnClose = [&](TForm* f) { seen = f->ModalResult(); };
    TPromptScript script;
    script.DriveForm([](TForm& form) { form.SetModalResult(mrYes); });
    EXPECT_EQ(dialog.ShowModal(), mrYes);
    EXPECT_EQ(seen, mrYes);
}

TEST(ModalForm, ControlsFindTheFormTheyStandOn)
{
    TValueDialog dialog;
    TCustomPanel panel(nullptr), inner(nullptr), loose(nullptr);
    panel.SetParentWidget(&dialog);
    inner.SetParent(&panel);
    EXPECT_EQ(ParentForm(&panel), &dialog);
    EXPECT_EQ(ParentForm(&inner), &dialog);
    EXPECT_EQ(ParentForm(&loose), nullptr);
    EXPECT_EQ(ParentForm(nullptr), nullptr);
    EXPECT_EQ(ControlWidget(&panel)->parentWidget(), &dialog);
}

TEST(ModalForm, GuardedHandlersReportExceptionsAndTheFormStaysUsable)
{
    TValueDialog dialog;
    std::string value = "1";
    dialog.Edited = &value;
    ConnectGuarded(dialog.BOk, &QPushButton::clicked, &dialog, [](bool) { throw EConvertError("'x' is not a valid floating point value"); });
    TPromptScript script;
    script.DriveForm([](TForm& form) {
        auto& d = static_cast<TValueDialog&>(form);
        d.BOk->click();  // raises, is reported, and still closes the form with its result
    });
    script.AnswerMessage(mrOk);
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    ASSERT_EQ(script.Log().size(), 2u);
    EXPECT_EQ(script.Log()[0].Kind, TPromptKind::MessageBox);  // reported while the form was open
    EXPECT_EQ(script.Log()[0].Text, "'x' is not a valid floating point value.");
    EXPECT_TRUE(script.Failures().empty());
}

TEST(FormRegistry, FindsClassesByNameIgnoringCase)
{
    ResetFormRegistry();
    RegisterFormClass<TValueDialog>("TValueDialog");
    EXPECT_TRUE(FindFormClass("tvaluedialog"));
    EXPECT_FALSE(FindFormClass("TOtherDialog"));
    EXPECT_EQ(CreateFormByClassName("TOtherDialog"), nullptr);
    std::unique_ptr<TForm> form = CreateFormByClassName("TVALUEDIALOG");
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Caption(), "Value Editor");
    UnregisterFormClass("TValueDialog");
    EXPECT_FALSE(FindFormClass("TValueDialog"));
    EXPECT_THROW(RegisterFormClass("", [](QWidget*) { return std::unique_ptr<TForm>(); }), EInvalidOperation);
}

} // namespace
