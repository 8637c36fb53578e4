#pragma once

#include "CaptionFill.h"
#include "DateStyle.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <functional>
#include <utility>

class PhotoMetadata;

// The light frames of a night or several, summed up for the caption: the frames by filter and
// exposure, the nights and the total time. From the sub-frames' headers, or from the keys a
// stacked master keeps about its frames.
//
// Calibration frames are left out: a frame whose IMAGETYP (or FRAME, FRAMETYP) is one of
// calibrationTypes() whatever its letter case, blanks, "-" and "_", and a leading "Master"; a
// frame with no such key lies in a folder whose name is one of them (an "s" or "es" added
// allowed: "darks", "Biases"). Every other frame is a light frame.
class SubframeSummary
{
    Q_DECLARE_TR_FUNCTIONS(SubframeSummary)

public:
    struct Group
    {
        QString filter;        // empty for a colour camera
        qint64 exposureUs = 0; // rounded to 0.01 s (to 0.0001 s under 0.1 s)
        int count = 0;
    };
    struct Skipped
    {
        QString path;
        QString reason;
    };
    // Called after each file with the files read so far and all of them; false stops the reading.
    using Progress = std::function<bool(int done, int total)>;

    // The placeholders: INTEGRATION, SUBS, NIGHTS, FIRST_NIGHT, LAST_NIGHT.
    static const QStringList &names();
    // The marks of calibration frames, as capture programs write them.
    static const QStringList &calibrationTypes();
    static bool isCalibration(const QString &frameType);
    static bool isCalibrationFolder(const QString &folderName);

    // Reads the headers of the sub-frames of the paths (SubframeHeader::files) and sums up the
    // light frames. A night runs from noon to noon of the clock where the frames were taken:
    // DATE-LOC and EXIF's own clock as written, else DATE-OBS (UTC) in `zone` (the system's local
    // time when invalid); a frame without a time of day counts in no night.
    static SubframeSummary read(const QStringList &paths, const QTimeZone &zone = QTimeZone(),
                                const Progress &progress = {});

    // A stacked master's own keys: STACKCNT (or NCOMBINE) frames of EXPTIME each, in FILTER, and
    // LIVETIME (or TOTALEXP) as the total. An EXPTIME equal to the total of several frames is the
    // total, not one frame's. Empty when the keys give neither a count with an exposure nor a
    // total.
    static SubframeSummary ofMaster(const PhotoMetadata &data);

    // One light frame or calibration frame more, as read() takes it; `order` places frames
    // without a time (the files' order).
    void add(const QString &path, const PhotoMetadata &data, const QTimeZone &zone, int order);
    void skip(const QString &path, const QString &reason);

    bool isEmpty() const { return m_lights == 0 && m_totalSeconds <= 0; }
    // The groups, filters in the order of their first frame by time (frames without a time
    // after those with one, in the files' order), each filter's exposures likewise.
    QList<Group> groups() const;
    int lightCount() const { return m_lights; }
    int calibrationCount() const { return m_calibration; }
    int withoutExposureCount() const { return m_withoutExposure; }
    const QList<Skipped> &skipped() const { return m_skipped; }
    QList<QDate> nights() const; // in order
    double totalSeconds() const;
    bool isCancelled() const { return m_cancelled; }

    // The placeholders' values; the nights' dates as the panel's date is written.
    CaptionFill::Values placeholders(const DateStyle &dateStyle, bool englishMonths) const;

    // What was read, for the status bar or the command line: "ライト 60 枚 (ダーク等 12 枚を除外、
    // 読めない 1 枚)".
    QString report() const;

    // "7時間00分", "45分", "30秒": seconds rounded to minutes from one minute on.
    static QString durationText(double seconds);

private:
    struct Frame
    {
        QString filter;
        qint64 exposureUs;
        QDateTime taken; // invalid without a time of day
        int order;
        int count; // 1 for a sub-frame; a master's frames at once
    };

    QList<Frame> m_frames;
    int m_lights = 0;
    int m_calibration = 0;
    int m_withoutExposure = 0;
    double m_totalSeconds = 0; // a master's total; frames sum up their own
    QList<Skipped> m_skipped;
    bool m_cancelled = false;
};
