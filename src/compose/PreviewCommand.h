#pragma once

#include <QString>

struct FrameDescription;
struct PanelValues;

// The Preview command's conversion of the panel into the frame description. Every field is
// converted on its own; a field whose text cannot be converted keeps its previous value.
namespace PreviewCommand {

// DateFormat: 1 month/day/year, anything else year/month/day. DelimiterFormat: 0 "/", 1 "-",
// 2 ".", 3 "年月日", anything else "/".
void toFrameDescription(const PanelValues &panel, qint32 DateFormat, qint32 DelimiterFormat,
                        FrameDescription &frame);

// Item 1's text from the texts as the panel shows them: "2001/12/25 22:30" and so on; the time
// and its blank are left out when the time text is empty.
QString dateTimeText(const QString &year, const QString &month, const QString &day,
                     const QString &time, qint32 DateFormat, qint32 DelimiterFormat);

} // namespace PreviewCommand
