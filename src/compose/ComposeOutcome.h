#pragma once

#include <QCoreApplication>
#include <QString>

// What a composition did, for the window or the command line to act on.
struct ComposeOutcome
{
    Q_DECLARE_TR_FUNCTIONS(ComposeOutcome)

public:
    enum class Kind
    {
        Drawn,            // the canvas holds the new picture
        LayoutRefused,    // the panel's photo size is outside 50..1600 x 50..1200: canvas unchanged
        PhotoSizeRefused, // the photo's own size is out of range: show sizeMessage() (caption
                          // "Error"); the canvas keeps what the layout before it left
        PhotoUnreadable,  // the photo file cannot be read as a picture; message names the file
        Failed,           // arithmetic overflow, a line width, font or canvas size the canvas
                          // refuses; message says which. The composition stopped there.
    };

    Kind kind = Kind::Drawn;
    QString message;
    // With PhotoSizeRefused: the photo is too large while large photos are not shrunk, and
    // shrinking it would make it fit. The window then says where to turn that on (shrinkHint()).
    bool shrinkWouldFit = false;
    // With Drawn: what the user should know about the picture (the photo was damaged and is
    // shown only in part); names the file.
    QString notice = {};

    bool isDrawn() const { return kind == Kind::Drawn; }

    static ComposeOutcome drawn() { return {}; }
    static ComposeOutcome layoutRefused() { return {Kind::LayoutRefused, {}}; }
    static ComposeOutcome photoSizeRefused() { return {Kind::PhotoSizeRefused, sizeMessage()}; }
    static ComposeOutcome photoUnreadable(const QString &why)
    {
        return {Kind::PhotoUnreadable, why};
    }
    static ComposeOutcome failed(const QString &why) { return {Kind::Failed, why}; }
    // A sum or product that does not fit its integer; `what` names the quantity.
    static ComposeOutcome overflow(const QString &what);

    // "最大1600x1200、最小50x50の大きさまで作成可能です。" and its caption "Error".
    static QString sizeMessage();
    static QString sizeMessageCaption();
    static QString shrinkHint();
};
