#pragma once

#include "InsertionValidator.h"

// The number boxes (year, font sizes, margins) take digits only: an insertion made of digits
// goes in, full-width ones as ASCII; any other character refuses the whole insertion.
class DigitsValidator : public InsertionValidator
{
    Q_OBJECT

public:
    explicit DigitsValidator(QLineEdit *box);

protected:
    QString judge(const QString &before, const QString &inserted) const override;
};
