// The UI kit's plain form class (TuiForm), which its windows derive from. Form code (Qt Widgets).
#pragma once

#include "platform/controls/Forms.h"

class TuiForm : public TForm {
public:
    static constexpr const char* FormClassName = "TuiForm";
    explicit TuiForm(QWidget* owner = nullptr) : TForm(owner) {}
};
