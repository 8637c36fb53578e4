#pragma once

#include <QtGlobal>

// Captions, keys and messages of the main window, each in one place. The texts are translated in
// the context "MainWindow".
namespace MainWindowTexts {

inline constexpr const char *WindowCaption = "Morvel Ver 2.03";

// A menu, or a menu entry with its command: the object name and caption and, when the toolbar has
// a button for the command, the button's key (its object name) and tooltip.
struct MenuEntry
{
    const char *name;
    const char *caption;
    const char *toolbarKey = nullptr;
    const char *toolTip = nullptr;
};

inline constexpr MenuEntry FileMenu{"IDM_FILE", QT_TRANSLATE_NOOP("MainWindow", "ﾌｧｲﾙ(&F)")};
inline constexpr MenuEntry LoadTemplate{
    "IDMI_LOADTEMPLATE", QT_TRANSLATE_NOOP("MainWindow", "ﾃﾝﾌﾟﾚｰﾄの読み込み(&L)"), "TbOpenTmp",
    QT_TRANSLATE_NOOP("MainWindow", "ﾃﾝﾌﾟﾚｰﾄの読み込み")};
inline constexpr MenuEntry SaveTemplate{
    "IDMI_SAVETEMPLATE", QT_TRANSLATE_NOOP("MainWindow", "ﾃﾝﾌﾟﾚｰﾄの保存(&S)"), "TbSaveTmp",
    QT_TRANSLATE_NOOP("MainWindow", "ﾃﾝﾌﾟﾚｰﾄの保存")};
inline constexpr MenuEntry Exit{"IDMI_EXIT", QT_TRANSLATE_NOOP("MainWindow", "終了(&X)"), "TbExit",
                                QT_TRANSLATE_NOOP("MainWindow", "終了")};

inline constexpr MenuEntry EditMenu{"IDM_EDIT", QT_TRANSLATE_NOOP("MainWindow", "編集(&E)")};
inline constexpr MenuEntry Setup{"IDMI_SETUP", QT_TRANSLATE_NOOP("MainWindow", "全般の設定(&S)..."),
                                 "TbSetup", QT_TRANSLATE_NOOP("MainWindow", "全般の設定")};
inline constexpr MenuEntry SetDefault{
    "IDMI_SETDEFAULT", QT_TRANSLATE_NOOP("MainWindow", "現在の設定を起動時に表示(&D)")};

inline constexpr MenuEntry PhotoMenu{"IDM_PHOTO", QT_TRANSLATE_NOOP("MainWindow", "画像(&G)")};
inline constexpr MenuEntry LoadPhoto{
    "IDM_LOADPHOTO", QT_TRANSLATE_NOOP("MainWindow", "画像ﾌｧｲﾙを読み込む(&L)..."), "TbOpenPhoto",
    QT_TRANSLATE_NOOP("MainWindow", "画像ﾌｧｲﾙの読み込み")};
inline constexpr MenuEntry RemovePhoto{
    "IDM_REMOVEPHOTO", QT_TRANSLATE_NOOP("MainWindow", "画像ﾌｧｲﾙを外す(&R)"), "TbRemovePhoto",
    QT_TRANSLATE_NOOP("MainWindow", "画像ﾌｧｲﾙを外す")};
inline constexpr MenuEntry FillFromPhoto{"IDM_FILLFROMPHOTO",
                                         QT_TRANSLATE_NOOP("MainWindow", "写真の情報を入力(&I)")};
// The folder of the sub-frames whose summary the fill writes, kept with the template.
inline constexpr MenuEntry ChooseSubframes{
    "IDM_SUBFRAMES", QT_TRANSLATE_NOOP("MainWindow", "サブフレームのフォルダを選ぶ(&U)...")};
inline constexpr MenuEntry ForgetSubframes{
    "IDM_FORGETSUBFRAMES", QT_TRANSLATE_NOOP("MainWindow", "サブフレームのフォルダを外す(&V)")};
inline constexpr MenuEntry copyToClipboard{
    "IDM_COPYCLIPBOARD", QT_TRANSLATE_NOOP("MainWindow", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞに複写(&C)"), "TbCopyClipboard",
    QT_TRANSLATE_NOOP("MainWindow", "ﾌﾟﾚﾋﾞｭｰｲﾒｰｼﾞをｸﾘｯﾌﾟﾎﾞｰﾄﾞへ複写")};
inline constexpr MenuEntry SavePhoto{
    "IDM_SAVEPHOTO", QT_TRANSLATE_NOOP("MainWindow", "ﾌｧｲﾙに保存(&S)..."), "TbSavePhoto",
    QT_TRANSLATE_NOOP("MainWindow", "ﾌﾟﾚﾋﾞｭｰｲﾒｰｼﾞをﾌｧｲﾙに保存")};
// The sky overlay of the template: compass, scale bar and the field's names on a solved photo.
inline constexpr MenuEntry SkyOverlay{"IDM_SKYOVERLAY",
                                      QT_TRANSLATE_NOOP("MainWindow", "星図の注記(&K)...")};
// A check item: the preview scaled down to the client area.
inline constexpr MenuEntry FitWindow{"IDM_FITWINDOW",
                                     QT_TRANSLATE_NOOP("MainWindow", "全体を表示(&W)")};

inline constexpr MenuEntry HelpMenu{"IDM_HELP", QT_TRANSLATE_NOOP("MainWindow", "ﾍﾙﾌﾟ(&H)")};
inline constexpr MenuEntry Version{"IDMI_VERSION",
                                   QT_TRANSLATE_NOOP("MainWindow", "ﾊﾞｰｼﾞｮﾝ情報(&A)...")};

// The separator lines of the File, Edit and Photo menus; the last two stand before the fill
// and before the view's check item.
inline constexpr const char *FileSeparator = "IDMI_SEP3";
inline constexpr const char *EditSeparator = "IDMI_SEP2";
inline constexpr const char *PhotoSeparator = "IDMI_SEP";
inline constexpr const char *FillSeparator = "IDMI_SEP5";
inline constexpr const char *ViewSeparator = "IDMI_SEP4";

// Status bar.
inline constexpr const char *TrueColor32 = QT_TRANSLATE_NOOP("MainWindow", "True Color (32bit)");
inline constexpr const char *TrueColor24 = QT_TRANSLATE_NOOP("MainWindow", "True Color (24bit)");
inline constexpr const char *HighColor16 = QT_TRANSLATE_NOOP("MainWindow", "High Color (16bit)");
inline constexpr const char *ColorsSuffix = QT_TRANSLATE_NOOP("MainWindow", " 色");

// Closing question.
inline constexpr const char *QuitQuestion =
    QT_TRANSLATE_NOOP("MainWindow", "終了します。よろしいですか？");
inline constexpr const char *QuitCaption = QT_TRANSLATE_NOOP("MainWindow", "終了確認");

// Templates.
inline constexpr const char *DefaultTemplateName = "default.kvl";
inline constexpr const char *TemplateFilter =
    QT_TRANSLATE_NOOP("MainWindow", "ﾃﾝﾌﾟﾚｰﾄﾌｧｲﾙ (*.kvl)|*.kvl|全てのﾌｧｲﾙ (*.*)|*.*");

// The fill from the photo's data, in the status bar.
inline constexpr const char *FillWithoutPhoto =
    QT_TRANSLATE_NOOP("MainWindow", "写真がありません。先に画像ﾌｧｲﾙを読み込んでください。");
inline constexpr const char *FillWithoutData =
    QT_TRANSLATE_NOOP("MainWindow", "「%1」には入力できる写真の情報がありません。");
inline constexpr const char *FillFailed =
    QT_TRANSLATE_NOOP("MainWindow", "写真の情報を読めませんでした: %1");
inline constexpr const char *SubframeFolderTitle =
    QT_TRANSLATE_NOOP("MainWindow", "サブフレームのフォルダ");
inline constexpr const char *SubframesForgotten =
    QT_TRANSLATE_NOOP("MainWindow", "サブフレームのフォルダを外しました。");

// Plate solving during the fill, in the status bar.
inline constexpr const char *SolveStarted =
    QT_TRANSLATE_NOOP("MainWindow", "写野を解析しています…（Esc で取り消し）");
inline constexpr const char *SolveProgress =
    QT_TRANSLATE_NOOP("MainWindow", "写野を解析しています: %1（Esc で取り消し）");
inline constexpr const char *SolveIdentified = QT_TRANSLATE_NOOP("MainWindow", "写野: %1 %2、%3");

// A size out of range while the preview follows the typing, in the status bar.
inline constexpr const char *FrameSizeOutOfRange =
    QT_TRANSLATE_NOOP("MainWindow", "枠の大きさ「%1」は範囲外です。%2");
inline constexpr const char *PhotoSizeOutOfRange =
    QT_TRANSLATE_NOOP("MainWindow", "写真の大きさ %1x%2 は範囲外です。%3");

// A template written as UTF-8: the file and the first character that needed it.
inline constexpr const char *SavedAsUtf8Text = QT_TRANSLATE_NOOP(
    "MainWindow", "ファイル「%1」を保存しました。「%2」を含むため UTF-8 で書いたので、"
                  "古い版のプログラムでは読めません。");

// Failures the user must hear about: the file and the reason.
inline constexpr const char *SaveFailedText =
    QT_TRANSLATE_NOOP("MainWindow", "ファイル「%1」を保存できませんでした。\n%2");
inline constexpr const char *ComposeFailedText =
    QT_TRANSLATE_NOOP("MainWindow", "プレビューを作成できませんでした: %1");

} // namespace MainWindowTexts
