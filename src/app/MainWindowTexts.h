#pragma once

#include <QtGlobal>

// Captions, keys and messages of the main window, each in one place. The texts are translated in
// the context "frmMdiMain".
namespace MainWindowTexts {

inline constexpr const char *Context = "frmMdiMain";

inline constexpr const char *WindowCaption = "Morvel Ver 2.03";

// Menus: object name and caption ("-" is a separator line).
struct MenuEntry
{
    const char *name;
    const char *caption;
};

inline constexpr MenuEntry FileMenu{"IDM_FILE", QT_TRANSLATE_NOOP("frmMdiMain", "ﾌｧｲﾙ(&F)")};
inline constexpr MenuEntry FileEntries[] = {
    {"IDMI_LOADTEMPLATE", QT_TRANSLATE_NOOP("frmMdiMain", "ﾃﾝﾌﾟﾚｰﾄの読み込み(&L)")},
    {"IDMI_SAVETEMPLATE", QT_TRANSLATE_NOOP("frmMdiMain", "ﾃﾝﾌﾟﾚｰﾄの保存(&S)")},
    {"IDMI_SEP3", "-"},
    {"IDMI_EXIT", QT_TRANSLATE_NOOP("frmMdiMain", "終了(&X)")},
};
inline constexpr MenuEntry EditMenu{"IDM_EDIT", QT_TRANSLATE_NOOP("frmMdiMain", "編集(&E)")};
inline constexpr MenuEntry EditEntries[] = {
    {"IDMI_SETUP", QT_TRANSLATE_NOOP("frmMdiMain", "全般の設定(&S)...")},
    {"IDMI_SEP2", "-"},
    {"IDMI_SETDEFAULT", QT_TRANSLATE_NOOP("frmMdiMain", "現在の設定を起動時に表示(&D)")},
};
inline constexpr MenuEntry PhotoMenu{"IDM_PHOTO", QT_TRANSLATE_NOOP("frmMdiMain", "画像(&G)")};
inline constexpr MenuEntry PhotoEntries[] = {
    {"IDM_LOADPHOTO", QT_TRANSLATE_NOOP("frmMdiMain", "画像ﾌｧｲﾙを読み込む(&L)...")},
    {"IDM_REMOVEPHOTO", QT_TRANSLATE_NOOP("frmMdiMain", "画像ﾌｧｲﾙを外す(&R)")},
    {"IDMI_SEP", "-"},
    {"IDM_COPYCLIPBOARD", QT_TRANSLATE_NOOP("frmMdiMain", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞに複写(&C)")},
    {"IDM_SAVEPHOTO", QT_TRANSLATE_NOOP("frmMdiMain", "ﾌｧｲﾙに保存(&S)...")},
};
inline constexpr MenuEntry HelpMenu{"IDM_HELP", QT_TRANSLATE_NOOP("frmMdiMain", "ﾍﾙﾌﾟ(&H)")};
inline constexpr MenuEntry HelpEntries[] = {
    {"IDMI_VERSION", QT_TRANSLATE_NOOP("frmMdiMain", "ﾊﾞｰｼﾞｮﾝ情報(&A)...")},
};

// Toolbar keys, in the order the toolbar handler compares them.
inline constexpr const char *TbOpenTmp = "TbOpenTmp";
inline constexpr const char *TbSaveTmp = "TbSaveTmp";
inline constexpr const char *TbExit = "TbExit";
inline constexpr const char *TbSetup = "TbSetup";
inline constexpr const char *TbOpenPhoto = "TbOpenPhoto";
inline constexpr const char *TbRemovePhoto = "TbRemovePhoto";
inline constexpr const char *TbCopyClipboard = "TbCopyClipboard";
inline constexpr const char *TbSavePhoto = "TbSavePhoto";

inline constexpr const char *TipOpenTmp = QT_TRANSLATE_NOOP("frmMdiMain", "ﾃﾝﾌﾟﾚｰﾄの読み込み");
inline constexpr const char *TipSaveTmp = QT_TRANSLATE_NOOP("frmMdiMain", "ﾃﾝﾌﾟﾚｰﾄの保存");
inline constexpr const char *TipSetup = QT_TRANSLATE_NOOP("frmMdiMain", "全般の設定");
inline constexpr const char *TipExit = QT_TRANSLATE_NOOP("frmMdiMain", "終了");
inline constexpr const char *TipOpenPhoto = QT_TRANSLATE_NOOP("frmMdiMain", "画像ﾌｧｲﾙの読み込み");
inline constexpr const char *TipRemovePhoto = QT_TRANSLATE_NOOP("frmMdiMain", "画像ﾌｧｲﾙを外す");
inline constexpr const char *TipCopyClipboard =
    QT_TRANSLATE_NOOP("frmMdiMain", "ﾌﾟﾚﾋﾞｭｰｲﾒｰｼﾞをｸﾘｯﾌﾟﾎﾞｰﾄﾞへ複写");
inline constexpr const char *TipSavePhoto =
    QT_TRANSLATE_NOOP("frmMdiMain", "ﾌﾟﾚﾋﾞｭｰｲﾒｰｼﾞをﾌｧｲﾙに保存");

// Editing panel.
inline constexpr const char *FrameSizeLabel = QT_TRANSLATE_NOOP("frmMdiMain", "枠の大きさ");
inline constexpr const char *BorderWidthLabel = QT_TRANSLATE_NOOP("frmMdiMain", "枠の太さ");
inline constexpr const char *BorderColorLabel = QT_TRANSLATE_NOOP("frmMdiMain", "枠の色");
inline constexpr const char *BackColorLabel = QT_TRANSLATE_NOOP("frmMdiMain", "背景色");
inline constexpr const char *PreviewCaption = "Preview...";
inline constexpr const char *NowDateCaption = QT_TRANSLATE_NOOP("frmMdiMain", "現在日時");
inline constexpr const char *NowDateTip = QT_TRANSLATE_NOOP("frmMdiMain", "現在日時を設定");
inline constexpr const char *InitialTime = "XX:XX";
inline constexpr const char *TimeSuffix = " JST";
inline constexpr const char *BoldTip = QT_TRANSLATE_NOOP("frmMdiMain", "太字");
inline constexpr const char *ItalicTip = QT_TRANSLATE_NOOP("frmMdiMain", "斜体");
inline constexpr const char *StrikethroughTip = QT_TRANSLATE_NOOP("frmMdiMain", "取り消し線");
inline constexpr const char *UnderlineTip = QT_TRANSLATE_NOOP("frmMdiMain", "下線");
inline constexpr const char *PanelFontName = "ＭＳ Ｐゴシック";
inline constexpr const char *StartupFontName = "ＭＳ ゴシック";

inline constexpr const char *PhotoSizes[] = {"160x120", "240x180", "320x240",
                                             "480x360", "640x480", "800x600"};
inline constexpr const char *EnglishMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Alignment drop-downs: key and text of the five entries; the code of entry n is n - 1.
inline constexpr MenuEntry AlignEntries[] = {
    {"IDT_LEFT", QT_TRANSLATE_NOOP("frmMdiMain", "左揃え")},
    {"IDT_CENTER", QT_TRANSLATE_NOOP("frmMdiMain", "中央揃え")},
    {"IDT_RIGHT", QT_TRANSLATE_NOOP("frmMdiMain", "右揃え")},
    {"IDT_LEFTUP", QT_TRANSLATE_NOOP("frmMdiMain", "上項目の左")},
    {"IDT_RIGHTUP", QT_TRANSLATE_NOOP("frmMdiMain", "上項目の右")},
};
inline constexpr const char *AlignImageKeys[] = {"FONT_ALIGN_LEFT", "FONT_ALIGN_CENTER",
                                                 "FONT_ALIGN_RIGHT", "FONT_ALIGN_LEFTUP",
                                                 "FONT_ALIGN_RIGHTUP"};

// Status bar.
inline constexpr const char *TrueColor32 = "True Color (32bit)";
inline constexpr const char *TrueColor24 = "True Color (24bit)";
inline constexpr const char *HighColor16 = "High Color (16bit)";
inline constexpr const char *ColorsSuffix = QT_TRANSLATE_NOOP("frmMdiMain", " 色");

// Closing question.
inline constexpr const char *QuitQuestion =
    QT_TRANSLATE_NOOP("frmMdiMain", "終了します。よろしいですか？");
inline constexpr const char *QuitCaption = QT_TRANSLATE_NOOP("frmMdiMain", "終了確認");

// Templates.
inline constexpr const char *DefaultTemplateName = "default.kvl";
inline constexpr const char *TemplateFilter =
    QT_TRANSLATE_NOOP("frmMdiMain", "ﾃﾝﾌﾟﾚｰﾄﾌｧｲﾙ (*.kvl)|*.kvl|全てのﾌｧｲﾙ (*.*)|*.*");

// Failures the user must hear about: the file and the reason.
inline constexpr const char *SaveFailedCaption = QT_TRANSLATE_NOOP("frmMdiMain", "保存エラー");
inline constexpr const char *SaveFailedText =
    QT_TRANSLATE_NOOP("frmMdiMain", "ファイル「%1」を保存できませんでした。\n%2");
inline constexpr const char *ComposeFailedText =
    QT_TRANSLATE_NOOP("frmMdiMain", "プレビューを作成できませんでした: %1");

} // namespace MainWindowTexts
