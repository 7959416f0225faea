// The form factory's entries and the process-wide instance.
#include "ui/uifact.h"

namespace {

std::unique_ptr<TuiFormFactory>& Instance()
{
    static std::unique_ptr<TuiFormFactory> factory;
    return factory;
}

} // namespace

void TuiFormFactory::UnregisterFormClass(const std::string& baseClass)
{
    const auto it = FEntries.find(baseClass);
    if (it == FEntries.end()) return;
    ::UnregisterFormClass(it->second.FormClass);
    FEntries.erase(it);
}

std::string TuiFormFactory::FindFormClass(const std::string& baseClass) const
{
    const auto it = FEntries.find(baseClass);
    return it == FEntries.end() ? std::string() : it->second.FormClass;
}

std::unique_ptr<TForm> TuiFormFactory::CreateForm(const std::string& baseClass, QWidget* owner) const
{
    const auto it = FEntries.find(baseClass);
    return it == FEntries.end() ? nullptr : it->second.Make(owner);
}

TuiFormFactory& FormFactory()
{
    if (!Instance()) Instance() = std::make_unique<TuiFormFactory>();
    return *Instance();
}

void FreeFormFactory() { Instance().reset(); }
