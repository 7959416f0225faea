// The form factory of the UI kit (TuiFormFactory): which form class stands in for a base form class, so a
// program can replace, say, the splash window of every splash component. Inheritance is checked when the
// program is compiled. Form code.
#pragma once

#include "platform/controls/Forms.h"

#include <map>
#include <memory>
#include <string>
#include <type_traits>

class TuiFormFactory {
public:
    using TMaker = std::function<std::unique_ptr<TForm>(QWidget* owner)>;

    // Registers Form for Base (replacing an earlier entry) and for form streaming under its own name.
    template <class Base, class Form>
    void RegisterFormClass()
    {
        static_assert(std::is_base_of_v<Base, Form>, "Form Factory error: the form class does not inherit from the base class");
        UnregisterFormClass(Base::FormClassName);
        ::RegisterFormClass<Form>(Form::FormClassName);
        FEntries[Base::FormClassName] = {Form::FormClassName, [](QWidget* owner) { return std::make_unique<Form>(owner); }};
    }
    // Registers a form class for itself.
    template <class Form>
    void RegisterForm()
    {
        RegisterFormClass<Form, Form>();
    }
    // Forgets the entry of a base class (and unregisters its form class from streaming).
    void UnregisterFormClass(const std::string& baseClass);
    // The name of the form class registered for a base class; "" when none.
    std::string FindFormClass(const std::string& baseClass) const;
    // A new form of the class registered for the base class, or nullptr.
    std::unique_ptr<TForm> CreateForm(const std::string& baseClass, QWidget* owner) const;

private:
    struct TEntry {
        std::string FormClass;
        TMaker Make;
    };
    std::map<std::string, TEntry> FEntries;
};

// The factory of the process, made on first call.
TuiFormFactory& FormFactory();
// Frees it (at shutdown, and in tests); the next call makes a new one.
void FreeFormFactory();
