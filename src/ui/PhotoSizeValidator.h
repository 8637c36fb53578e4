#pragma once

#include "InsertionValidator.h"

// The photo-size box ("640x480") takes digits and one "x": "X" goes in as "x", and only while the
// box's text, its selected part included, holds no "x" or "X". Full-width digits and x count as
// ASCII; any other character refuses the whole insertion.
class PhotoSizeValidator : public InsertionValidator
{
    Q_OBJECT

public:
    explicit PhotoSizeValidator(QLineEdit *box);

protected:
    QString judge(const QString &before, const QString &inserted) const override;
};
