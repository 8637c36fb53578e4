#pragma once

#include "DateStyle.h"

#include <QString>

struct FrameDescription;
struct PanelValues;

// The Preview command's conversion of the panel into the frame description. Every field is
// converted on its own; a field whose text cannot be converted keeps its previous value.
namespace PreviewCommand {

void toFrameDescription(const PanelValues &panel, const DateStyle &dateStyle,
                        FrameDescription &frame);

// The photo size alone, by the same rule: "640x480" split at lower-case "x"; a missing or
// unreadable part keeps its field.
void takePhotoSize(const QString &text, FrameDescription &frame);

// Item 1's text from the texts as the panel shows them: "2001/12/25 22:30" and so on; the time
// and its blank are left out when the time text is empty.
QString dateTimeText(const QString &year, const QString &month, const QString &day,
                     const QString &time, const DateStyle &dateStyle);

} // namespace PreviewCommand
